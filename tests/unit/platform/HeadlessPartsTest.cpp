// Headless pieces: the events file and virtual time between two threads.
#include <gtest/gtest.h>

#include <thread>

#include "platform/StopSignal.h"
#include "platform/headless/EventScript.h"
#include "platform/headless/VirtualClock.h"

namespace qv::test {
namespace {

using platform::headless::ParseEventScript;
using platform::headless::ScriptedEvent;

TEST(EventScript, ParsesEveryCommandAndSkipsComments) {
  std::vector<ScriptedEvent> events;
  std::string error;
  ASSERT_TRUE(
      ParseEventScript("# start\nclick 10 20\nrclick 1 2 # trailing\nmove 3 4\n"
                       "key 0x2C\nkey 13\nwait 500\nidle\nmenu 40001\nanswer cancel\n"
                       "name 山田 太郎\nnameclose\nshot first\nstate s-1\nclose\n",
                       events, error))
      << error;
  ASSERT_EQ(events.size(), 14u);
  EXPECT_EQ(events[0].kind, ScriptedEvent::Kind::Click);
  EXPECT_EQ(events[0].y, 20);
  EXPECT_EQ(events[3].value, 0x2Cu);
  EXPECT_EQ(events[5].value, 500u);
  EXPECT_EQ(events[8].kind, ScriptedEvent::Kind::AnswerCancel);
  EXPECT_EQ(events[9].text, "山田 太郎");
  EXPECT_EQ(events[12].text, "s-1");
}

TEST(EventScript, RefusesBadLinesNamingThem) {
  for (const char* bad : {"jump 1 2", "click 1", "key 300", "wait -1", "answer maybe",
                          "shot ../escape", "state", "idle now", "menu 0"}) {
    std::vector<ScriptedEvent> events;
    std::string error;
    EXPECT_FALSE(ParseEventScript(std::string("idle\n") + bad + "\n", events, error)) << bad;
    EXPECT_EQ(error.rfind("2: ", 0), 0u) << error;
  }
}

TEST(VirtualClock, TimeMovesOnlyWhenEveryParticipantWaits) {
  platform::headless::VirtualClock clock;
  std::vector<uint64_t> seen;
  clock.AddParticipant();
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      clock.sleep(100);
      seen.push_back(clock.nowMs());
    }
    clock.RemoveParticipant();
  });
  // The runner waiting for 1 s lets the worker's three sleeps happen on time.
  clock.sleep(1000);
  worker.join();
  EXPECT_EQ(clock.nowMs(), 1000u);
  EXPECT_EQ(seen, (std::vector<uint64_t>{100, 200, 300}));
}

TEST(VirtualClock, StopUnwindsAnInterruptibleWaiter) {
  platform::headless::VirtualClock clock;
  bool unwound = false;
  clock.AddParticipant();
  std::thread worker([&] {
    platform::Clock::MarkThreadInterruptible();
    try {
      clock.await(nullptr, std::nullopt);
    } catch (const platform::StopSignal&) {
      unwound = true;
    }
    clock.RemoveParticipant();
  });
  clock.Settle(nullptr);  // the worker is waiting for ever
  clock.requestStop();
  worker.join();
  EXPECT_TRUE(unwound);
}

}  // namespace
}  // namespace qv::test
