// qvsoak: random play of a game with the invariants checked after every event.
//   qvsoak --seed N --events N [--game DIR] [--twice] [--watchdog SECONDS]
// Plays session after session until the events are used up, prints one summary line and exits 1
// on any failure, naming the event and what broke.
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/HeadlessRun.h"
#include "platform/common/TableCp932.h"
#include "qvtool/SampleGame.h"
#include "soak/EventGenerator.h"
#include "soak/InvariantChecks.h"

namespace {

namespace fs = std::filesystem;
using namespace qv;

struct Options {
  uint64_t seed = 1;
  size_t events = 1000;
  std::string gameDir;  // copied into the work folder, so the original's saves stay as they are
  int watchdogSeconds = 120;  // real time without a finished event that counts as a hang
};

struct Result {
  size_t eventsRun = 0;
  int sessions = 0;
  size_t slotsChecked = 0;            // slot files written, read back and found loadable
  std::vector<std::string> failures;  // "event N: what broke"
  std::string log;                    // every session's events.log, one after another
};

// A session gets at most this many events at a time, so that a game that quits often does not
// have the whole rest of the file parsed again at every start.
constexpr size_t kSessionEvents = 20000;

// The log with each slot's date (the file's wall-clock time) blanked: what two runs of one seed
// must agree on.
std::string WithoutSlotDates(const std::string& log) {
  std::string out;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t slot = line.find(" slot ");
    const size_t bar = line.find(" | ");
    if (slot != std::string::npos && bar != std::string::npos && bar > slot) {
      line = line.substr(0, line.find(' ', slot + 6)) + " DATE" + line.substr(bar);
    }
    out += line + '\n';
  }
  return out;
}

// One soak in the empty folder `work`.
Result RunSoak(const Options& options, const fs::path& work) {
  Result result;
  const fs::path game = work / "game";
  fs::copy(options.gameDir, game, fs::copy_options::recursive);
  fs::create_directories(work / "locks");
  const std::string events = qv::soak::GenerateEvents(options.seed, options.events);
  std::ofstream(work / "events.txt", std::ios::binary) << events;
  std::vector<std::string> lines;
  std::istringstream text(events);
  for (std::string line; std::getline(text, line);) lines.push_back(line);

  soak::InvariantChecks checks((game / "save").string());
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
  size_t taken = 0;
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
    std::ostringstream log;
    log << std::ifstream(run.outDir + "/events.log", std::ios::binary).rdbuf();
    ++result.sessions;
    result.log += "session " + std::to_string(result.sessions) + "\n" + log.str();
    checks.AfterSession(log.str(), taken + sessionTaken);
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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool twice = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seed" && hasValue) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--events" && hasValue) {
      options.events = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--game" && hasValue) {
      options.gameDir = argv[++i];
    } else if (arg == "--watchdog" && hasValue) {
      options.watchdogSeconds = std::atoi(argv[++i]);
    } else if (arg == "--twice") {
      twice = true;
    } else {
      std::fprintf(stderr,
                   "usage: qvsoak --seed N --events N [--game DIR] [--twice] "
                   "[--watchdog SECONDS]\n");
      return 2;
    }
  }
  std::string work = (fs::temp_directory_path() / "qvsoak-XXXXXX").string();
  if (!mkdtemp(work.data())) {
    std::fprintf(stderr, "qvsoak: cannot make a work folder\n");
    return 1;
  }
  if (options.gameDir.empty()) {
    options.gameDir = work + "/sample";
    platform::TableCp932 cp932;
    const auto made = tool::MakeSample(options.gameDir, cp932);
    if (!made.succeeded) {
      std::fprintf(stderr, "qvsoak: %s\n", made.messages.front().c_str());
      return 1;
    }
  }

  const auto start = std::chrono::steady_clock::now();
  fs::create_directories(work + "/run1");
  Result result = RunSoak(options, work + "/run1");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  bool sameTwice = false;
  if (twice && result.failures.empty()) {
    fs::create_directories(work + "/run2");
    const Result again = RunSoak(options, work + "/run2");
    sameTwice = WithoutSlotDates(again.log) == WithoutSlotDates(result.log);
    if (!sameTwice) {
      result.failures.push_back("a second run of the seed logged differently (see " + work +
                                "/run*/out)");
    }
    result.failures.insert(result.failures.end(), again.failures.begin(), again.failures.end());
  }

  const auto seed = static_cast<unsigned long long>(options.seed);
  std::printf(
      "seed %llu: events %zu, sessions %d, %zu slot files reloaded, failures %zu, %.1f s, "
      "%.0f events/s%s\n",
      seed, result.eventsRun, result.sessions, result.slotsChecked, result.failures.size(), seconds,
      seconds > 0 ? double(result.eventsRun) / seconds : 0.0, sameTwice ? ", same log twice" : "");
  for (const std::string& failure : result.failures)
    std::printf("seed %llu: %s\n", seed, failure.c_str());
  if (!result.failures.empty()) {
    std::printf("work folder kept: %s\n", work.c_str());
  } else {
    std::error_code ignored;
    fs::remove_all(work, ignored);
  }
  return result.failures.empty() ? 0 : 1;
}
