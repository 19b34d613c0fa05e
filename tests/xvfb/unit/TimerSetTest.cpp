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

TEST(TimerSetTest, FiresOncePerPeriod) {
  TimerSet timers;
  timers.Set(108, 500, 1000);
  EXPECT_EQ(timers.NextDue(), 1500u);
  EXPECT_TRUE(DrainDue(timers, 1499).empty());
  EXPECT_EQ(DrainDue(timers, 1500), std::vector<uint32_t>{108});
  EXPECT_EQ(timers.NextDue(), 2000u);
  EXPECT_TRUE(DrainDue(timers, 1999).empty());
  EXPECT_EQ(DrainDue(timers, 2000), std::vector<uint32_t>{108});
}

TEST(TimerSetTest, ALateTimerFiresOnceAndKeepsItsPeriodFromThen) {
  TimerSet timers;
  timers.Set(1, 100, 0);
  // Three periods passed unseen (a long modal box, a busy procedure): one tick, not three.
  EXPECT_EQ(DrainDue(timers, 350), std::vector<uint32_t>{1});
  EXPECT_EQ(timers.NextDue(), 450u);
}

TEST(TimerSetTest, SettingAgainRestartsTheCountdown) {
  TimerSet timers;
  timers.Set(7, 100, 0);
  timers.Set(7, 100, 80);
  EXPECT_TRUE(DrainDue(timers, 100).empty());
  EXPECT_EQ(DrainDue(timers, 180), std::vector<uint32_t>{7});
}

TEST(TimerSetTest, KilledTimersStopAndNothingIsDue) {
  TimerSet timers;
  timers.Set(7, 100, 0);
  timers.Kill(7);
  EXPECT_FALSE(timers.NextDue().has_value());
  EXPECT_TRUE(DrainDue(timers, 1000).empty());
  timers.Kill(99);  // unknown ids are ignored
}

TEST(TimerSetTest, ATimerKilledWhileAnotherIsDeliveredDoesNotFire) {
  TimerSet timers;
  timers.Set(1, 100, 0);
  timers.Set(2, 100, 0);
  const auto first = timers.PopDue(100);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(*first, 1u);  // set first, fires first
  timers.Kill(2);         // the procedure handling timer 1 kills timer 2
  EXPECT_FALSE(timers.PopDue(100).has_value());
}

}  // namespace
}  // namespace qv::platform::sdl
