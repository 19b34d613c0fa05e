// The window's periodic timers (see TimerSet.h).
#include "platform/sdl/TimerSet.h"

#include <algorithm>

namespace qv::platform::sdl {

void TimerSet::Set(uint32_t id, uint32_t periodMs, uint64_t nowMs) {
  Timer& timer = timers_[id];
  timer.periodMs = std::max(periodMs, kMinimumPeriodMs);
  timer.dueMs = nowMs + timer.periodMs;
  timer.order = nextOrder_++;
}

void TimerSet::Kill(uint32_t id) {
  timers_.erase(id);
}

std::optional<uint64_t> TimerSet::NextDue() const {
  std::optional<uint64_t> next;
  for (const auto& [id, timer] : timers_) {
    if (!next || timer.dueMs < *next) next = timer.dueMs;
  }
  return next;
}

std::optional<uint32_t> TimerSet::PopDue(uint64_t nowMs) {
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.dueMs > nowMs) continue;
    if (best == timers_.end() || it->second.dueMs < best->second.dueMs ||
        (it->second.dueMs == best->second.dueMs && it->second.order < best->second.order)) {
      best = it;
    }
  }
  if (best == timers_.end()) return std::nullopt;
  best->second.dueMs = nowMs + best->second.periodMs;
  return best->first;
}

}  // namespace qv::platform::sdl
