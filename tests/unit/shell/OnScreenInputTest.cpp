// Clicks and hovers on the bar buttons and choice items.
#include "shell/OnScreenInput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "graphics/Compositing.h"
#include "platform/Message.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using platform::MakePoint;

struct OnScreen : ::testing::Test {
  FakeGame game{"$selarea x\r\n:start\r\nhello\r\n:opening\r\nname\r\n"};
  script::Engine& engine = game.engine;
  graphics::Presentation& g = engine.view;

  void SetUp() override { ASSERT_EQ(game.CreateFrame(800, 600), 1); }
  void AddItem(int left, int top, int right, int bottom, const std::string& label) {
    core::ChoiceItem& item =
        engine.script.choices.items[static_cast<size_t>(engine.script.choices.count++)];
    item.left = static_cast<int16_t>(left);
    item.right = static_cast<int16_t>(right);
    item.top = static_cast<int16_t>(top);
    item.bottom = static_cast<int16_t>(bottom);
    label.copy(item.label, label.size());
  }
};

TEST_F(OnScreen, ChoiceHitsIncludeEdgesTheFirstListedWinsAndOnlyAHaltedListTakesThem) {
  engine.input.screenMode = core::ScreenMode::Choice;
  AddItem(100, 100, 200, 150, "start");
  AddItem(150, 120, 300, 200, "opening");
  AddItem(0, 0, 50, 50, "*GameLoad");
  // Before the interpreter has halted for the list, a click on an item is no pick.
  EXPECT_EQ(shell::ChoiceClick(engine, MakePoint(150, 120)), 0);
  // The clicks come while the interpreter is halted for the list.
  game.fakes.clock.Schedule(0, [&] {
    EXPECT_EQ(shell::ChoiceClick(engine, MakePoint(99, 120)), 0);
    game.fakes.ui.nameAnswers = {std::nullopt};  // the name dialog closed: the list stays
    EXPECT_EQ(shell::ChoiceClick(engine, MakePoint(250, 180)), 1);
    EXPECT_EQ(shell::ChoiceClick(engine, MakePoint(10, 10)), 1);
    EXPECT_EQ(engine.input.screenMode, core::ScreenMode::Choice);
    EXPECT_EQ(engine.script.gate.Halted(), core::HaltReason::Choice);
    EXPECT_EQ(shell::ChoiceClick(engine, MakePoint(150, 120)), 1);  // in both: the first listed
  });
  engine.script.gate.SuspendSelf(core::HaltReason::Choice);
  const std::optional<std::string> picked = engine.script.gate.TakePick();
  EXPECT_EQ(picked, "start");
  EXPECT_EQ(engine.input.screenMode, core::ScreenMode::Game);
  EXPECT_EQ(game.fakes.log.lines.back(), "pick 0 start");
  EXPECT_EQ(engine.script.state.Text(core::GameState::kPlayerNameOffset, 11), "");
  EXPECT_EQ(game.fakes.ui.nameInitialTexts.back(), "晴臣");
}

// The save button's border and inside are a golden replay's.
TEST_F(OnScreen, SkipTakesItsBorderAfterItsFlashAndSound) {
  engine.view.messageWindowActive = 1;
  engine.view.messageWindowShown = 1;
  // The skip button's border starts skip mode after its 70 ms flash and the click sound.
  const uint64_t before = game.fakes.clock.nowMs();
  EXPECT_EQ(shell::BarButtonClick(engine, MakePoint(33, 579)), 1);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Skip);
  EXPECT_EQ(game.fakes.clock.nowMs() - before, 70u);
  EXPECT_EQ(game.fakes.log.lines.back(), "se missing sound\\click.wav");
  // Skipping: neither skip nor hide reacts; a hidden or inactive window ignores the bar.
  EXPECT_EQ(shell::BarButtonClick(engine, MakePoint(200, 590)), 1);
  engine.input.advanceMode = core::AdvanceMode::Normal;
  EXPECT_EQ(shell::BarButtonClick(engine, MakePoint(200, 590)), 2);  // hide
  EXPECT_EQ(engine.view.messageWindowShown, 0);
  EXPECT_EQ(shell::BarButtonClick(engine, MakePoint(50, 590)), 1);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
}

// The looks and sounds of a hover are a golden replay's; a list still being built is not seen
// there.
TEST_F(OnScreen, HoverTouchesNothingWhileAListIsBeingBuilt) {
  engine.input.screenMode = core::ScreenMode::Choice;
  engine.input.inputBusy = 1;
  AddItem(100, 100, 200, 150, "a");
  std::memset(g.pageSurface.Data(), 0xEE, g.pageSurface.SizeBytes());
  shell::HandleHover(engine, MakePoint(120, 120));
  EXPECT_NE(g.screen.Surface().Row(120)[120 * 3], 0xEE);
  EXPECT_EQ(engine.input.hoveredChoice, 99);
  EXPECT_THAT(game.fakes.log.lines,
              ::testing::Not(::testing::Contains("se missing sound\\move.wav")));
}

}  // namespace
}  // namespace qv::test
