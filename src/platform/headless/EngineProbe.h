// What the headless runner asks of the engine it drives.
#pragma once

#include <string>

namespace qv::platform::headless {

class EngineProbe {
 public:
  virtual ~EngineProbe() = default;
  // Runner thread, with every engine thread waiting: the interpreter is halted for the player
  // (a wait code, a stop, a choice) or a modal box is up.
  virtual bool HaltedForPlayer() = 0;
  // The engine state as a JSON object (UTF-8).
  virtual std::string StateJson() = 0;
};

}  // namespace qv::platform::headless
