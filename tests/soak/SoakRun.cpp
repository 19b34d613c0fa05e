// One soak (see SoakRun.h).
#include "soak/SoakRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/HeadlessRun.h"
#include "soak/EventGenerator.h"
#include "soak/InvariantChecks.h"

namespace qv::soak {

namespace fs = std::filesystem;

namespace {

// A session gets at most this many events at a time, so that a game that quits often does not
// have the whole rest of the file parsed again at every start.
constexpr size_t kSessionEvents = 20000;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int Count(const std::string& log, const std::string& word, const std::string& tail = "") {
  int count = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string_view body = std::string_view(line).substr(space + 1);
    if (body.starts_with(word) && body.ends_with(tail)) ++count;
  }
  return count;
}

}  // namespace

std::string WithoutSlotDates(const std::string& log) {
  std::string out;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t slot = line.find(" slot ");
    const size_t bar = line.find(" | ");
    if (slot != std::string::npos && bar != std::string::npos && bar > slot) {
      const size_t date = line.find(' ', slot + 6);
      line = line.substr(0, date) + " DATE" + line.substr(bar);
    }
    out += line + '\n';
  }
  return out;
}

SoakResult RunSoak(const SoakOptions& options) {
  SoakResult result;
  const fs::path work = options.workDir;
  const fs::path game = work / "game";
  fs::copy(options.gameDir, game, fs::copy_options::recursive);
  fs::create_directories(work / "locks");

  std::vector<std::string> lines;
  {
    std::istringstream text(GenerateEvents(options.seed, options.events));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
  }
  {
    std::ofstream copy(work / "events.txt", std::ios::binary);
    for (const std::string& line : lines) copy << line << '\n';
  }
  InvariantChecks checks((game / "save").string());
  size_t taken = 0;
  // A deadlock stops the virtual clock as well, so only real time can see it.
  std::atomic<size_t> finished{0};
  std::jthread watchdog([&finished, &options](std::stop_token stop) {
    size_t last = finished;
    auto since = std::chrono::steady_clock::now();
    while (!stop.stop_requested()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      if (finished != last) {
        last = finished;
        since = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - since >
                 std::chrono::seconds(options.watchdogSeconds)) {
        std::fprintf(stderr, "seed %llu: event %zu: nothing happened for %d s: a hang\n",
                     static_cast<unsigned long long>(options.seed), last + 1,
                     options.watchdogSeconds);
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  });
  while (taken < lines.size() && result.failures.empty() && checks.Failures().empty()) {
    const size_t end = std::min(lines.size(), taken + kSessionEvents);
    app::HeadlessRunOptions run;
    run.gameDir = game.string();
    run.outDir = (work / "out").string();
    run.lockDir = (work / "locks").string();
    for (size_t i = taken; i < end; ++i) run.eventsText += lines[i] + '\n';
    size_t sessionTaken = 0;
    run.afterEvent = [&](script::Engine& engine, const platform::headless::EventReport& report) {
      sessionTaken = std::min(report.taken, end - taken);
      checks.AfterEvent(engine, report, taken + sessionTaken);
      finished = taken + sessionTaken;
    };
    fs::remove_all(run.outDir);
    const int exitCode = app::RunHeadless(run);
    const std::string log = ReadAll(run.outDir + "/events.log");
    ++result.sessions;
    result.log += "session " + std::to_string(result.sessions) + "\n" + log;
    result.savesWritten += Count(log, "save ", "-> written");
    result.loads += Count(log, "load ", "-> ok");
    result.picks += Count(log, "pick ");
    result.menuPicks += Count(log, "menu -> 4");
    checks.AfterSession(log, taken + sessionTaken);
    if (exitCode != 0) {
      result.failures.push_back("event " + std::to_string(taken + sessionTaken) +
                                ": the game exited with " + std::to_string(exitCode));
    }
    if (sessionTaken == 0) {
      result.failures.push_back("event " + std::to_string(taken) + ": a session took no events");
      break;
    }
    taken += sessionTaken;
  }
  std::ofstream(work / "events.log", std::ios::binary) << result.log;
  result.eventsRun = taken;
  result.slotsChecked = checks.SlotsChecked();
  result.failures.insert(result.failures.end(), checks.Failures().begin(), checks.Failures().end());
  return result;
}

}  // namespace qv::soak
