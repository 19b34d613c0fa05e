// Shared parts of every Clock: thread marks and the tick-based waits.
#include "platform/Clock.h"

namespace qv::platform {

namespace {
thread_local bool threadInterruptible = false;
}

void Clock::MarkThreadInterruptible() {
  threadInterruptible = true;
}
bool Clock::ThreadIsInterruptible() {
  return threadInterruptible;
}

void Clock::waitUntilTick(uint32_t tick, WaitStyle style) {
  // The engine's loops poll "tick count >= target" as unsigned 32-bit numbers, so a target that
  // wrapped below the current tick is reached at once; the remaining distance is then exact.
  uint32_t now = tickCount();
  if (now >= tick) return;
  (void)style;  // every style ends at the same tick; only a real clock could tell them apart
  await(nullptr, nowMs() + (tick - now));
}

}  // namespace qv::platform
