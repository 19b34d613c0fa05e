// qvsoak: random play of a game with the invariants checked after every event.
//   qvsoak --seed N --events N [--game DIR] [--twice] [--keep] [--watchdog SECONDS]
// Prints one summary line; exits 1 on any failure, naming the event and what broke.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "soak/SoakRun.h"

namespace {

namespace fs = std::filesystem;

int Usage() {
  std::fprintf(stderr,
               "usage: qvsoak --seed N --events N [--game DIR] [--twice] [--keep] "
               "[--watchdog SECONDS]\n");
  return 2;
}

std::string MakeWorkDir() {
  std::string pattern = (fs::temp_directory_path() / "qvsoak-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  qv::soak::SoakOptions options;
  std::string game;
  bool twice = false, keep = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seed" && hasValue) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--events" && hasValue) {
      options.events = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--game" && hasValue) {
      game = argv[++i];
    } else if (arg == "--watchdog" && hasValue) {
      options.watchdogSeconds = std::atoi(argv[++i]);
    } else if (arg == "--twice") {
      twice = true;
    } else if (arg == "--keep") {
      keep = true;
    } else {
      return Usage();
    }
  }
  const std::string work = MakeWorkDir();
  if (work.empty()) {
    std::fprintf(stderr, "qvsoak: cannot make a work folder\n");
    return 1;
  }
  if (game.empty()) {
    game = work + "/sample";
    qv::platform::posix::IconvCp932 cp932;
    const auto made = qv::tool::MakeSample(game, cp932);
    if (!made.succeeded) {
      std::fprintf(stderr, "qvsoak: %s\n", made.messages.front().c_str());
      return 1;
    }
  }
  options.gameDir = game;

  const auto start = std::chrono::steady_clock::now();
  options.workDir = work + "/run1";
  fs::create_directories(options.workDir);
  qv::soak::SoakResult result = qv::soak::RunSoak(options);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  bool sameTwice = false;
  if (twice && result.failures.empty()) {
    options.workDir = work + "/run2";
    fs::create_directories(options.workDir);
    const qv::soak::SoakResult again = qv::soak::RunSoak(options);
    if (qv::soak::WithoutSlotDates(again.log) != qv::soak::WithoutSlotDates(result.log)) {
      result.failures.push_back("a second run of the seed logged differently (see " + work +
                                "/run*/out)");
      keep = true;
    } else {
      sameTwice = true;
    }
    result.failures.insert(result.failures.end(), again.failures.begin(), again.failures.end());
  }

  std::printf(
      "seed %llu: events %zu, sessions %d, saves %d written / %zu slot files reloaded, loads %d, "
      "picks %d, menu picks %d, failures %zu, %.1f s, %.0f events/s%s\n",
      static_cast<unsigned long long>(options.seed), result.eventsRun, result.sessions,
      result.savesWritten, result.slotsChecked, result.loads, result.picks, result.menuPicks,
      result.failures.size(), seconds, seconds > 0 ? double(result.eventsRun) / seconds : 0.0,
      sameTwice ? ", same log twice" : "");
  for (const std::string& failure : result.failures) {
    std::printf("seed %llu: %s\n", static_cast<unsigned long long>(options.seed), failure.c_str());
  }
  if (!result.failures.empty()) keep = true;
  if (keep) {
    std::printf("work folder kept: %s\n", work.c_str());
  } else {
    std::error_code ignored;
    fs::remove_all(work, ignored);
  }
  return result.failures.empty() ? 0 : 1;
}
