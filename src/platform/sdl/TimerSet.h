// The window's periodic timers, measured on the clock and delivered by the message loop.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace qv::platform::sdl {

// Timers are due at whole milliseconds; a timer that fell behind fires once and then keeps its
// period from that moment (ticks are merged, never replayed in a burst). Window thread only.
class TimerSet {
 public:
  // Shorter periods are raised to this, as Windows does with its timers.
  static constexpr uint32_t kMinimumPeriodMs = 10;

  // Starts (or restarts) timer `id`: first due at nowMs + period.
  void Set(uint32_t id, uint32_t periodMs, uint64_t nowMs);
  void Kill(uint32_t id);

  // The earliest due time, if any timer runs.
  std::optional<uint64_t> NextDue() const;

  // The id of the earliest timer due at nowMs, which is rescheduled to nowMs + its period; none
  // when nothing is due. Call until it returns none: a timer killed or set meanwhile (by the
  // procedure handling an earlier one) is honoured.
  std::optional<uint32_t> PopDue(uint64_t nowMs);

 private:
  struct Timer {
    uint32_t periodMs = 0;
    uint64_t dueMs = 0;
    uint64_t order = 0;  // ties fire in the order the timers were set
  };
  std::map<uint32_t, Timer> timers_;
  uint64_t nextOrder_ = 0;
};

}  // namespace qv::platform::sdl
