// Timed pauses, the sync stretch and the scene title.
#include <gtest/gtest.h>

#include <string>

#include "script/Commands.h"
#include "support/FakePlatform.h"

namespace qv::script {
namespace {

using core::GameState;
using test::FakeGame;

TEST(Wait, EndsAfterItsTimeOrAtOnceWhenItsEndIsPastAndHidesTheCursor) {
  FakeGame game("x\r\n");
  game.fakes.clock.SetNow(500);
  game.engine.view.waitCursorOn = 1;
  game.engine.script.position = 40;
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  EXPECT_EQ(game.engine.view.waitCursorOn, 0);
  EXPECT_EQ(game.engine.script.position, 40u);
  Wait(game.engine, "$wait 0");
  Wait(game.engine, "$wait -5");  // an end below the start is reached at once
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  game.fakes.clock.SetNow(0xFFFFFF00u);
  Wait(game.engine, "$wait 512");  // so is an end wrapping past the tick count's end
  EXPECT_EQ(game.fakes.clock.nowMs(), 0xFFFFFF00u);

  // Loading a game ends it and steps back for the loader.
  game.fakes.clock.SetNow(0);
  game.fakes.clock.Schedule(300, [&] {
    game.engine.script.position = 100;
    game.engine.input.restoringGame = 1;
  });
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 300u);
  EXPECT_EQ(game.engine.script.position, 98u);
}

TEST(Sync, TimingMeasuresFromTheLastSyncstart) {
  FakeGame game("x\r\n");
  auto& clock = game.fakes.clock;
  clock.SetNow(1000);
  Syncstart(game.engine, "$syncstart");
  EXPECT_EQ(game.engine.script.syncActive, 1);
  clock.Advance(200);
  Synctiming(game.engine, "$synctiming 3000");
  EXPECT_EQ(clock.nowMs(), 4000u);
  Synctiming(game.engine, "$synctiming 2000");  // already past
  EXPECT_EQ(clock.nowMs(), 4000u);
  Syncexit(game.engine, "$syncexit");
  EXPECT_EQ(game.engine.script.syncActive, 0);
  Synctiming(game.engine, "$synctiming 4500");
  EXPECT_EQ(clock.nowMs(), 5500u);
}

TEST(Statetitle, KeepsTheLeadingSpaceAndCutsOnACharacterBoundary) {
  FakeGame game("x\r\n");
  const uint8_t* field = &game.engine.script.state.Bytes()[GameState::kStateTitleOffset];
  auto title = [&] { return std::string(reinterpret_cast<const char*>(field)); };
  Statetitle(game.engine, "$statetitle Chapter 1");
  EXPECT_EQ(title(), " Chapter 1");
  // " A" and then two-byte characters: 255 bytes would end on a lead byte, so 254 are kept.
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "\x88\x9f";
  Statetitle(game.engine, "$statetitle A" + kanji);
  EXPECT_EQ(title(), " A" + kanji.substr(0, 252));
  // The field is cleared first: nothing of the longer title remains.
  Statetitle(game.engine, "$statetitle");
  for (size_t i = 0; i < GameState::kStateTitleSize; ++i) ASSERT_EQ(field[i], 0) << i;
}

}  // namespace
}  // namespace qv::script
