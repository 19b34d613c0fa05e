// The clock of headless runs: virtual time that moves only while every engine thread waits.
#pragma once

#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Clock.h"

namespace qv::platform::headless {

// Two kinds of thread use it. The runner (the window thread of a headless run) delivers events
// and moves time; participants (the interpreter, later the audio workers) run only while the
// runner has handed them the floor, so at any moment exactly one thread does engine work and the
// same inputs always give the same interleaving.
class VirtualClock final : public Clock {
 public:
  VirtualClock();  // the constructing thread is the runner

  uint64_t nowMs() override;
  bool await(const Condition& ready, std::optional<uint64_t> deadlineMs) override;
  void update(const std::function<void()>& change) override;
  void requestStop() override;
  bool stopRequested() override;
  void yield() override;
  void AddParticipant() override;
  void RemoveParticipant() override;

  // Runner only. Hands the floor to the participants and returns once every one of them waits
  // for something that has not happened yet, or `interrupt` (checked under the lock) holds. The
  // runner holds the floor again on return.
  void Settle(const Condition& interrupt);
  // Runner only, after Settle: the earliest deadline any participant waits for.
  std::optional<uint64_t> EarliestDeadline();
  // Runner only, after Settle: moves time forward to `ms` (never backwards) and wakes whoever
  // is due; they run at the next Settle.
  void AdvanceTo(uint64_t ms);

  bool IsRunnerThread() const { return std::this_thread::get_id() == runner_; }

 private:
  struct Waiter {
    const Condition* ready;
    std::optional<uint64_t> deadline;
    bool interruptible;
  };
  bool CanProceed(const Waiter& waiter) const;  // lock held
  bool Quiescent() const;                       // lock held
  const Waiter* FirstRunnable() const;          // lock held
  bool RunnerAwait(std::unique_lock<std::mutex>& lock, const Condition& ready,
                   std::optional<uint64_t> deadlineMs);

  const std::thread::id runner_;
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t now_ = 0;
  int participants_ = 0;
  bool floorHeld_ = true;
  bool stop_ = false;
  std::list<Waiter*> waiters_;
  std::optional<std::thread::id> running_;  // the participant whose turn it is
};

}  // namespace qv::platform::headless
