// Virtual time for headless runs (see VirtualClock.h).
#include "platform/headless/VirtualClock.h"

#include <algorithm>

#include "platform/StopSignal.h"

namespace qv::platform::headless {

VirtualClock::VirtualClock() : runner_(std::this_thread::get_id()) {}

uint64_t VirtualClock::nowMs() {
  std::lock_guard lock(mutex_);
  return now_;
}

bool VirtualClock::CanProceed(const Waiter& waiter) const {
  if (waiter.interruptible && stop_) return true;
  if (waiter.ready && *waiter.ready && (*waiter.ready)()) return true;
  return waiter.deadline && now_ >= *waiter.deadline;
}

bool VirtualClock::Quiescent() const {
  if (static_cast<int>(waiters_.size()) < participants_) return false;
  return std::none_of(waiters_.begin(), waiters_.end(),
                      [this](const Waiter* w) { return CanProceed(*w); });
}

bool VirtualClock::await(const Condition& ready, std::optional<uint64_t> deadlineMs) {
  std::unique_lock lock(mutex_);
  if (IsRunnerThread()) return RunnerAwait(lock, ready, deadlineMs);
  Waiter self{&ready, deadlineMs, ThreadIsInterruptible()};
  if (self.interruptible && stop_) throw StopSignal{};
  if (ready && ready()) return true;
  const std::thread::id me = std::this_thread::get_id();
  if (running_ == me) running_.reset();
  waiters_.push_back(&self);
  changed_.notify_all();
  // Participants take turns: of those that may go on, the one that has waited longest runs
  // alone until it waits again, so two threads due at the same instant always run in the same
  // order.
  changed_.wait(lock, [&] {
    return (self.interruptible && stop_) || (!floorHeld_ && !running_ && FirstRunnable() == &self);
  });
  waiters_.remove(&self);
  const bool stopping = self.interruptible && stop_;
  if (!stopping) running_ = me;
  changed_.notify_all();
  if (stopping) throw StopSignal{};
  return ready && ready();
}

const VirtualClock::Waiter* VirtualClock::FirstRunnable() const {
  for (const Waiter* w : waiters_) {
    if (CanProceed(*w)) return w;
  }
  return nullptr;
}

bool VirtualClock::RunnerAwait(std::unique_lock<std::mutex>& lock, const Condition& ready,
                               std::optional<uint64_t> deadlineMs) {
  // The window thread waiting is what lets time pass in a headless run: the participants get
  // the floor, and time moves to the next thing anybody waits for.
  for (;;) {
    if (ready && ready()) return true;
    if (deadlineMs && now_ >= *deadlineMs) return false;
    floorHeld_ = false;
    changed_.notify_all();
    changed_.wait(lock, [&] { return Quiescent() || (ready && ready()); });
    floorHeld_ = true;
    if (ready && ready()) return true;
    std::optional<uint64_t> next = deadlineMs;
    for (const Waiter* w : waiters_) {
      if (w->deadline && (!next || *w->deadline < *next)) next = w->deadline;
    }
    if (!next) return false;  // nothing will ever change: do not hang
    now_ = std::max(now_, *next);
  }
}

void VirtualClock::update(const std::function<void()>& change) {
  {
    std::lock_guard lock(mutex_);
    change();
  }
  changed_.notify_all();
}

void VirtualClock::requestStop() {
  update([this] { stop_ = true; });
}

bool VirtualClock::stopRequested() {
  std::lock_guard lock(mutex_);
  return stop_;
}

void VirtualClock::yield() {
  // Giving the processor away lets the next due wake-up happen; with nothing else due that is
  // the next millisecond.
  sleep(1);
}

void VirtualClock::AddParticipant() {
  update([this] { ++participants_; });
}

void VirtualClock::RemoveParticipant() {
  update([this] {
    --participants_;
    if (running_ == std::this_thread::get_id()) running_.reset();
  });
}

void VirtualClock::Settle(const Condition& interrupt) {
  std::unique_lock lock(mutex_);
  floorHeld_ = false;
  changed_.notify_all();
  changed_.wait(lock, [&] { return Quiescent() || (interrupt && interrupt()); });
  floorHeld_ = true;
}

std::optional<uint64_t> VirtualClock::EarliestDeadline() {
  std::lock_guard lock(mutex_);
  std::optional<uint64_t> earliest;
  for (const Waiter* w : waiters_) {
    if (w->deadline && (!earliest || *w->deadline < *earliest)) earliest = w->deadline;
  }
  return earliest;
}

void VirtualClock::AdvanceTo(uint64_t ms) {
  update([&] { now_ = std::max(now_, ms); });
}

}  // namespace qv::platform::headless
