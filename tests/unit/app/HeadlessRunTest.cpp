// The headless run's per-event observer: one report per event performed, how many events are
// used up, an idle that ran out. (qvplay's command line is checked in tests/cli.)
#include <gtest/gtest.h>

#include "app/HeadlessRun.h"
#include "script/Engine.h"
#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

using Kind = platform::headless::ScriptedEvent::Kind;

TEST(HeadlessRun, TheObserverSeesEveryEventAndAnIdleThatRanOut) {
  TempDir dir;
  // Longer than an idle waits: the first idle runs out inside the pause.
  WriteGame(dir, {"$wait 700000\n一行目\n$C\n"});
  app::HeadlessRunOptions options;
  options.gameDir = dir.Path() + "/game";
  options.outDir = dir.Path() + "/out";
  options.lockDir = dir.Path();
  options.eventsText = "idle\nanswer ok\nidle\n";
  struct Seen {
    Kind kind;
    size_t taken;
    bool idleTimedOut;
    uint32_t position;
  };
  std::vector<Seen> seen;
  options.afterEvent = [&](script::Engine& engine, const platform::headless::EventReport& report) {
    seen.push_back({report.event.kind, report.taken, report.idleTimedOut, engine.script.position});
  };
  EXPECT_EQ(app::RunHeadless(options), 0);
  // The three events, then the runner's own closing idle and close.
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].kind, Kind::Idle);
  EXPECT_TRUE(seen[0].idleTimedOut);
  EXPECT_EQ(seen[0].taken, 1u);
  EXPECT_FALSE(seen[2].idleTimedOut);  // the pause ended and the text halts for a click
  EXPECT_GT(seen[2].position, seen[0].position);
  EXPECT_EQ(seen[4].kind, Kind::Close);
  EXPECT_EQ(seen[4].taken, 3u);
}

}  // namespace
}  // namespace qv::test
