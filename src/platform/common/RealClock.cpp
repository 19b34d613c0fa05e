// The clock of real play (see RealClock.h).
#include "platform/common/RealClock.h"

#include <thread>

#include "platform/StopSignal.h"

namespace qv::platform {

RealClock::RealClock() : start_(Steady::now()) {}

uint64_t RealClock::nowMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start_).count());
}

bool RealClock::await(const Condition& ready, std::optional<uint64_t> deadlineMs) {
  std::unique_lock lock(mutex_);
  const bool interruptible = ThreadIsInterruptible();
  for (;;) {
    if (interruptible && stop_) throw StopSignal{};
    if (ready && ready()) return true;
    if (deadlineMs) {
      if (nowMs() >= *deadlineMs) return false;
      changed_.wait_until(lock, start_ + std::chrono::milliseconds(*deadlineMs));
    } else {
      changed_.wait(lock);
    }
  }
}

void RealClock::update(const std::function<void()>& change) {
  {
    std::lock_guard lock(mutex_);
    change();
  }
  changed_.notify_all();
}

void RealClock::requestStop() {
  update([this] { stop_ = true; });
}

bool RealClock::stopRequested() {
  std::lock_guard lock(mutex_);
  return stop_;
}

void RealClock::yield() {
  if (ThreadIsInterruptible() && stopRequested()) throw StopSignal{};
  std::this_thread::yield();
}

}  // namespace qv::platform
