// Time and blocking: every wait of every engine thread goes through one Clock.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace qv::platform {

enum class WaitStyle { Yield, Sleep, Spin };

// One lock for all blocking. A thread that waits says for what (a condition read under the lock)
// and until when (a deadline in milliseconds); that is all a virtual clock needs to know to run
// two threads deterministically, and all a real clock needs to wake them promptly.
class Clock {
 public:
  using Condition = std::function<bool()>;

  virtual ~Clock() = default;

  // Milliseconds since the clock started, 64 bits (never wraps in practice).
  virtual uint64_t nowMs() = 0;
  // The 32-bit tick count the engine compares against (wraps like the system tick count).
  uint32_t tickCount() { return static_cast<uint32_t>(nowMs()); }

  // Blocks the calling thread until `ready` holds (evaluated with the clock's lock held; may be
  // empty for "never") or nowMs() reaches `deadlineMs`. Returns the final value of `ready`.
  // On an interruptible thread it throws StopSignal once a stop has been requested.
  // Any thread.
  virtual bool await(const Condition& ready, std::optional<uint64_t> deadlineMs) = 0;

  // Runs `change` with the clock's lock held, then wakes every waiter so it can re-check its
  // condition. State read by an await condition must only be changed through here. Any thread.
  virtual void update(const std::function<void()>& change) = 0;

  // Begins closing: every interruptible thread throws StopSignal from its current or next wait.
  virtual void requestStop() = 0;
  virtual bool stopRequested() = 0;

  // A virtual clock moves time only while every engine thread other than the window thread waits,
  // so it must know how many there are: call AddParticipant before starting such a thread and
  // RemoveParticipant as that thread's last act. Any thread.
  virtual void AddParticipant() {}
  virtual void RemoveParticipant() {}

  // Marks the calling thread as interruptible (the interpreter thread calls this once).
  static void MarkThreadInterruptible();
  static bool ThreadIsInterruptible();

  // Convenience waits, all built on await().
  void sleep(uint32_t ms) { await(nullptr, nowMs() + ms); }
  // Gives the processor away once; on a virtual clock this lets the next due wake-up happen.
  virtual void yield() { sleep(1); }
  // Waits until tickCount() has reached `tick` (unsigned comparison, as the engine's loops do).
  void waitUntilTick(uint32_t tick, WaitStyle style);
};

}  // namespace qv::platform
