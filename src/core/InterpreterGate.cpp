// The interpreter's halt and resume hand-over (see InterpreterGate.h).
#include "core/InterpreterGate.h"

#include <utility>

namespace qv::core {

void InterpreterGate::SuspendSelf(HaltReason reason) {
  if (observer_) observer_(reason);
  clock_.update([&] {
    halted_ = reason;
    resumed_ = false;
    pick_.reset();
  });
  clock_.await([&] { return resumed_; }, std::nullopt);
}

void InterpreterGate::Resume() {
  clock_.update([&] {
    if (halted_ == HaltReason::None) return;
    halted_ = HaltReason::None;
    resumed_ = true;
  });
}

bool InterpreterGate::ResumeWithPick(std::string label) {
  bool taken = false;
  clock_.update([&] {
    if (halted_ != HaltReason::Choice) return;
    pick_ = std::move(label);
    halted_ = HaltReason::None;
    resumed_ = true;
    taken = true;
  });
  return taken;
}

std::optional<std::string> InterpreterGate::TakePick() {
  std::optional<std::string> pick;
  clock_.update([&] { pick.swap(pick_); });
  return pick;
}

HaltReason InterpreterGate::Halted() {
  HaltReason reason = HaltReason::None;
  clock_.update([&] { reason = halted_; });
  return reason;
}

bool InterpreterGate::AwaitHalt(uint64_t deadlineMs) {
  return clock_.await([&] { return halted_ != HaltReason::None; }, deadlineMs);
}

const char* HaltReasonName(HaltReason reason) {
  switch (reason) {
    case HaltReason::Wait:
      return "wait";
    case HaltReason::Stop:
      return "stop";
    case HaltReason::Choice:
      return "choice";
    case HaltReason::None:
      break;
  }
  return "none";
}

}  // namespace qv::core
