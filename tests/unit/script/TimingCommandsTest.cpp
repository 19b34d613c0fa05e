// Timed pauses, the sync stretch, the status bookkeeping, the scene title and the quit question.
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
  game.engine.waitCursorOn = 1;
  game.engine.scriptPosition = 40;
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  EXPECT_EQ(game.engine.waitCursorOn, 0);
  EXPECT_EQ(game.engine.scriptPosition, 40u);

  Wait(game.engine, "$wait 0");
  Wait(game.engine, "$wait -5");  // an end below the start is reached at once
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  game.fakes.clock.SetNow(0xFFFFFF00u);
  Wait(game.engine, "$wait 512");  // so is an end wrapping past the tick count's end
  EXPECT_EQ(game.fakes.clock.nowMs(), 0xFFFFFF00u);
}

TEST(Wait, LoadingAGameEndsItAndStepsBackForTheLoader) {
  FakeGame game("x\r\n");
  game.engine.scriptPosition = 40;
  game.fakes.clock.Schedule(300, [&] {
    game.engine.scriptPosition = 100;
    game.engine.restoringGame = 1;
  });
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 300u);
  EXPECT_EQ(game.engine.scriptPosition, 98u);
}

TEST(Sync, TimingMeasuresFromTheLastSyncstart) {
  FakeGame game("x\r\n");
  auto& clock = game.fakes.clock;
  clock.SetNow(1000);
  Syncstart(game.engine, "$syncstart");
  EXPECT_EQ(game.engine.syncActive, 1);
  clock.Advance(200);
  Synctiming(game.engine, "$synctiming 3000");
  EXPECT_EQ(clock.nowMs(), 4000u);
  Synctiming(game.engine, "$synctiming 5000");
  EXPECT_EQ(clock.nowMs(), 6000u);
  Synctiming(game.engine, "$synctiming 2000");  // already past
  EXPECT_EQ(clock.nowMs(), 6000u);
  Syncexit(game.engine, "$syncexit");
  EXPECT_EQ(game.engine.syncActive, 0);
  Synctiming(game.engine, "$synctiming 6500");
  EXPECT_EQ(clock.nowMs(), 7500u);
}

TEST(Status, WindowFlagAndPointRule) {
  FakeGame game("x\r\n");
  GameState& state = game.engine.state;
  Statuswindow(game.engine, "$statuswindow OPEN");
  EXPECT_EQ(state.SlotValue(GameState::kStatusWindowOffset), 1);
  Statuswindow(game.engine, "$statuswindow open");
  EXPECT_EQ(state.SlotValue(GameState::kStatusWindowOffset), 0);

  state.SetSlotValue(*state.PointSlot(2), 7);
  state.SetSlotValue(*state.PointSlot(4), 3);
  Statusctrl(game.engine, "$statusctrl 1");
  EXPECT_EQ(state.Point(2), 117);
  Statusctrl(game.engine, "$statusctrl 2");
  Statusctrl(game.engine, "$statusctrl");
  EXPECT_EQ(state.Point(2), 117);
}

TEST(Statetitle, KeepsTheLeadingSpaceAndCutsOnACharacterBoundary) {
  FakeGame game("x\r\n");
  auto title = [&] {
    return std::string(
        game.engine.state.Text(GameState::kStateTitleOffset, GameState::kStateTitleSize));
  };
  Statetitle(game.engine, "$statetitle Chapter 1");
  EXPECT_EQ(title(), " Chapter 1");

  // " A" and then two-byte characters: 255 bytes would end on a lead byte, so 254 are kept.
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "\x88\x9f";
  Statetitle(game.engine, "$statetitle A" + kanji);
  EXPECT_EQ(title(), " A" + kanji.substr(0, 252));
  EXPECT_EQ(game.engine.state.Bytes()[GameState::kStateTitleOffset + 255], 0);

  // The field is cleared first: nothing of the longer title remains.
  Statetitle(game.engine, "$statetitle");
  EXPECT_EQ(title(), "");
  for (size_t i = 0; i < GameState::kStateTitleSize; ++i) {
    ASSERT_EQ(game.engine.state.Bytes()[GameState::kStateTitleOffset + i], 0);
  }
}

TEST(ExitGame, AsksAndClosesOnlyOnOk) {
  FakeGame game("x\r\n");
  game.fakes.ui.answers = {platform::BoxAnswer::Cancel, platform::BoxAnswer::Ok};
  ExitGame(game.engine, "$exit_game");
  EXPECT_EQ(game.procedure.Count(platform::MSG_CLOSE), 0);
  ExitGame(game.engine, "$exit_game");
  EXPECT_EQ(game.procedure.Count(platform::MSG_CLOSE), 1);

  ASSERT_EQ(game.fakes.ui.boxes.size(), 2u);
  const auto& box = game.fakes.ui.boxes[0];
  EXPECT_EQ(box.caption, "確認");
  EXPECT_EQ(box.text, "終了します。");
  EXPECT_EQ(box.buttons, platform::BoxButtons::OkCancel);
  EXPECT_EQ(box.icon, platform::BoxIcon::None);
}

}  // namespace
}  // namespace qv::script
