// What every part of a game run reaches: the platform, the game's start-up values, its settings
// and the window channel's lifetime flags.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "core/Comforts.h"
#include "core/EnvSettings.h"
#include "platform/Platform.h"

namespace qv::core {

// What the instance file says about the game.
struct InstanceConfig {
  bool found = false;  // an instance file was found and read
  std::string instanceName;
  std::string windowName;  // the game's bytes (code page 932)
  int32_t width = 0;
  int32_t height = 0;
  int32_t gameType = 0;
  int32_t bgmFromCd = 0;
};

class Services {
 public:
  explicit Services(platform::Platform& services) : platform(services) {}
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  platform::Platform& platform;

  // Start-up values, written before the interpreter thread starts and read-only afterwards.
  InstanceConfig config;
  std::string baseDirectory;  // ends with a separator

  // The settings both threads read and write; envFileMutex serialises the writers of env.dat.
  EnvSettings env;
  std::mutex envFileMutex;

  // The additions to the original's play and their settings.
  Comforts comforts;

  // Any thread. `closing` is set once by the window's close; the window procedure is set by the
  // shell before the window exists and serves requests made on the window thread itself.
  std::atomic<bool> closing{false};
  std::atomic<bool> windowCreated{false};
  platform::WindowProcedure* windowProcedure = nullptr;

  // The game's part of a path: what follows the base directory, or the whole of a relative path.
  // Logs name only that part, so a run's log does not depend on where the game lies.
  std::string_view GamePart(std::string_view path) const {
    if (!baseDirectory.empty() && path.starts_with(baseDirectory)) {
      path.remove_prefix(baseDirectory.size());
    }
    return path;
  }

  // Shift-JIS text of the game as UTF-8 for the UI and the log.
  std::string Utf8(std::string_view cp932) { return platform.cp932.ToUtf8(cp932); }
  // The window name as every message box's caption.
  std::string Caption() { return Utf8(config.windowName); }
  void Log(std::string_view line) { platform.log.Write(line); }
  // A problem with one of the engine's own files: the player reads stderr, the tests the log.
  void Report(std::string_view line) {
    std::fprintf(stderr, "qvplay: %.*s\n", static_cast<int>(line.size()), line.data());
    Log(line);
  }
};

}  // namespace qv::core
