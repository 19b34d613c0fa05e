// Tests for the window's periodic timers.
#include "platform/sdl/TimerSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::platform::sdl {
namespace {

std::vector<uint32_t> DrainDue(TimerSet& timers, uint64_t now) {
  std::vector<uint32_t> fired;
  while (const auto id = timers.PopDue(now)) fired.push_back(*id);
  return fired;
}

TEST(TimerSetTest, FiresOncePerPeriodAndOnceWhenLate) {
  TimerSet timers;
  timers.Set(108, 500, 1000);
  EXPECT_EQ(timers.NextDue(), 1500u);
  EXPECT_TRUE(DrainDue(timers, 1499).empty());
  EXPECT_EQ(DrainDue(timers, 1500), std::vector<uint32_t>{108});
  EXPECT_EQ(timers.NextDue(), 2000u);
  EXPECT_TRUE(DrainDue(timers, 1999).empty());
  // Three periods passed unseen (a long modal box, a busy procedure): one tick, not three, and
  // the period counts from then.
  EXPECT_EQ(DrainDue(timers, 3600), std::vector<uint32_t>{108});
  EXPECT_EQ(timers.NextDue(), 4100u);
}

TEST(TimerSetTest, SettingAgainRestartsTheCountdownAndAKilledTimerNeverFires) {
  TimerSet timers;
  timers.Set(7, 100, 0);
  timers.Set(7, 100, 80);
  timers.Set(2, 100, 80);
  timers.Set(9, 100, 80);
  EXPECT_TRUE(DrainDue(timers, 100).empty());
  EXPECT_EQ(timers.PopDue(180), std::optional<uint32_t>(7));  // set first, fires first
  timers.Kill(2);  // the procedure handling timer 7 kills the others due at the same time
  timers.Kill(9);
  timers.Kill(99);  // unknown ids are ignored
  EXPECT_FALSE(timers.PopDue(180).has_value());
  timers.Kill(7);
  EXPECT_FALSE(timers.NextDue().has_value());
  EXPECT_TRUE(DrainDue(timers, 1000).empty());
}

}  // namespace
}  // namespace qv::platform::sdl
