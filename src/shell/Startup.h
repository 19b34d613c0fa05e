// The program's start: instance file, single-instance guard, settings, script, window, loop.
#pragma once

#include <optional>

#include "script/Engine.h"

namespace qv::shell {

struct StartupOptions {
  // From the command line: start windowed (true) or full screen (false) whatever env.dat says.
  std::optional<bool> windowed;
  // --original: none of this engine's additions to the original's play.
  bool original = false;
  core::TextHook textHook = core::TextHook::Off;
};

// Runs the whole game on the calling thread, which becomes the window thread: returns the exit
// code once the window has closed (or at once, when start-up ends early).
int RunGame(script::Engine& engine, const StartupOptions& options);

// The checks before any window exists: settings, script, save folder. 1 to go on, 0 to end.
int RunStartupChecks(script::Engine& engine);

}  // namespace qv::shell
