// The interpreter thread's halt and resume hand-over, without the races of suspending a thread.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Clock.h"

namespace qv::core {

enum class HaltReason { None, Wait, Stop, Choice };

class InterpreterGate {
 public:
  explicit InterpreterGate(platform::Clock& clock) : clock_(clock) {}

  // Interpreter thread: halts until another thread calls Resume. Throws StopSignal at close.
  void SuspendSelf(HaltReason reason);
  // Any thread: lets a halted interpreter go on; does nothing when it is not halted.
  void Resume();
  // Window thread: hands the player's pick (the item's label) to an interpreter halted for a
  // choice and lets it go on; false, and nothing changes, when it is not halted for one (a click
  // that came before the list was up).
  bool ResumeWithPick(std::string label);
  // Interpreter thread, after SuspendSelf: the label picked, or nothing when it was let go
  // otherwise (a load puts the position itself).
  std::optional<std::string> TakePick();
  // Any thread: why the interpreter is halted, or None while it runs.
  HaltReason Halted();
  // Any thread but the interpreter's: waits until the interpreter is halted or the clock reaches
  // `deadlineMs`. True when it is halted.
  bool AwaitHalt(uint64_t deadlineMs);

  // Called on the interpreter thread just before it halts (the headless log uses it).
  void SetHaltObserver(std::function<void(HaltReason)> observer) {
    observer_ = std::move(observer);
  }

 private:
  platform::Clock& clock_;
  HaltReason halted_ = HaltReason::None;  // guarded by the clock's lock
  bool resumed_ = false;                  // guarded by the clock's lock
  std::optional<std::string> pick_;       // guarded by the clock's lock
  std::function<void(HaltReason)> observer_;
};

const char* HaltReasonName(HaltReason reason);

}  // namespace qv::core
