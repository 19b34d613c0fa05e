// What the headless runner asks of the engine it drives.
#pragma once

#include <cstddef>
#include <string>

#include "platform/headless/EventScript.h"

namespace qv::platform::headless {

// One event the runner has just performed, and how far through the events file it is.
struct EventReport {
  const ScriptedEvent& event;
  size_t taken;       // events used up so far (boxes and the logo's hold take some themselves)
  bool idleTimedOut;  // an idle that ran out before the interpreter halted for the player
};

class EngineProbe {
 public:
  virtual ~EngineProbe() = default;
  // Runner thread, with every engine thread waiting: the interpreter is halted for the player
  // (a wait code, a stop, a choice) or a modal box is up.
  virtual bool HaltedForPlayer() = 0;
  // The engine state as a JSON object (UTF-8).
  virtual std::string StateJson() = 0;
  // Runner thread, after each event it performs (the closing idle and close included), once the
  // engine has settled: every engine thread waits, so its state may be read.
  virtual void AfterEvent(const EventReport&) {}
};

}  // namespace qv::platform::headless
