// Click routing, skip and auto-advance, and the system menu's marks, on fake platform services.
#include "shell/MainWindow.h"

#include <gtest/gtest.h>

#include "resources/SystemMenuResource.h"
#include "shell/DisplayMode.h"
#include "shell/SystemMenu.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using platform::MakePoint;
using platform::MenuItem;

const MenuItem* Find(const MenuItem& menu, uint32_t id) {
  for (const MenuItem& item : menu.children) {
    if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
    if (const MenuItem* found = Find(item, id)) return found;
  }
  return nullptr;
}

struct Window : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  shell::MainWindow window{engine};

  void SetUp() override {
    game.fakes.window.procedure = &window;
    engine.services.env.ApplyDefaults();
    window.HandleMessage({platform::MSG_CREATE});
  }
  int32_t Deliver(uint32_t id, uint32_t wParam, uint32_t lParam) {
    return window.HandleMessage({id, wParam, lParam});
  }
  std::vector<uint8_t> EnvFile() { return game.fakes.files.files["C:\\game\\\\save\\env.dat"]; }
};

TEST_F(Window, ClickIsIgnoredDuringSyncOrBusyInputAndOtherwiseCutsVoiceSkipAndAuto) {
  engine.script.syncActive = 1;  // ignored entirely, even the voice
  engine.audio.voicePlaying = 1;
  EXPECT_EQ(shell::HandleClick(engine, MakePoint(10, 10)), 0);
  EXPECT_EQ(engine.audio.voicePlaying, 1);
  engine.script.syncActive = 0;
  engine.input.inputBusy = 1;
  engine.input.screenMode = core::ScreenMode::Choice;
  EXPECT_EQ(shell::HandleClick(engine, 0), 0);  // a screen is being built: ignored
  EXPECT_EQ(engine.audio.voicePlaying, 1);
  engine.input.inputBusy = 0;
  EXPECT_EQ(shell::HandleClick(engine, 0), 1);
  EXPECT_EQ(engine.audio.voicePlaying, 0);

  engine.input.screenMode = core::ScreenMode::Game;
  engine.services.env.messageSpeed = 40;
  shell::SetSkipMode(engine.input, engine.services.env, engine.script.gate, true);
  EXPECT_EQ(engine.services.env.messageSpeed, 0);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Skip);
  EXPECT_EQ(shell::HandleClick(engine, 0), 1);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
  EXPECT_EQ(engine.services.env.messageSpeed, 40);

  shell::SetAutoMode(engine, 3);  // ended only when not halted at a stop
  engine.input.clickEndsAuto = 0;
  shell::HandleClick(engine, 0);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Auto);
  engine.input.clickEndsAuto = 1;
  shell::HandleClick(engine, 0);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
}

TEST_F(Window, KeysDoNothingButPrintScreenAndTheFirstClickOnAHiddenMessageWindowShowsIt) {
  engine.view.messageWindowActive = 1;
  EXPECT_EQ(Deliver(platform::MSG_KEYUP, 0x20, 0xC0000001), 0);
  EXPECT_EQ(engine.view.messageWindowShown, 0);
  shell::HandleClick(engine, 0);
  EXPECT_EQ(engine.view.messageWindowShown, 1);
  EXPECT_EQ(Deliver(platform::MSG_KEYUP, platform::VK_SNAPSHOT, 0xC0000001), 1);
}

TEST_F(Window, RightClickEndsSkipOrAutoBeforeTheMarksAndPostsTheChosenCommand) {
  engine.services.env.messageSpeed = 100;
  shell::SetSkipMode(engine.input, engine.services.env, engine.script.gate, true);
  Deliver(platform::MSG_RBUTTONUP, 0, MakePoint(5, 5));
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
  ASSERT_EQ(game.fakes.ui.menus.size(), 1u);
  EXPECT_TRUE(Find(game.fakes.ui.menus[0], resources::ID_SPEED_SLOW)->checked);
  EXPECT_TRUE(game.fakes.window.posted.empty());

  shell::SetAutoMode(engine, 3);
  game.fakes.ui.menuChoices.push_back(resources::ID_EFFECTS);
  Deliver(platform::MSG_RBUTTONUP, 0, MakePoint(5, 5));
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
  ASSERT_EQ(game.fakes.window.posted.size(), 1u);
  EXPECT_EQ(game.fakes.window.posted[0].id, platform::MSG_COMMAND);
  EXPECT_EQ(game.fakes.window.posted[0].wParam, resources::ID_EFFECTS);
}

TEST_F(Window, MenuMarksFollowTheSettings) {
  MenuItem& menu = window.SystemMenu();
  engine.services.env.messageSpeed = 40;
  engine.services.env.seVolume = 25;
  engine.services.env.bgmVolume = 0;
  engine.services.env.windowed = 0;
  engine.services.env.screenEffects = 0;
  engine.input.screenMode = core::ScreenMode::Save;
  auto marks = [&] {
    shell::RefreshMenuChecks(engine, menu);
    std::vector<bool> got;
    for (uint32_t id : {resources::ID_SPEED_NORMAL, resources::ID_SPEED_FAST, resources::ID_SE_25,
                        resources::ID_BGM_0, resources::ID_FULLSCREEN, resources::ID_EFFECTS}) {
      got.push_back(Find(menu, id)->checked);
    }
    got.push_back(Find(menu, resources::ID_AUTO)->greyed);
    return got;
  };
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, true, true, true, false, true}));
  EXPECT_TRUE(Find(menu, resources::ID_SPEED_NORMAL)->radioCheck);
  // A speed outside the five leaves the group's marks as they were.
  engine.services.env.messageSpeed = 7;
  engine.input.screenMode = core::ScreenMode::Game;
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, true, true, true, false, false}));
}

TEST_F(Window, SettingCommandsWriteTheFileVolumesLeaveTheMarksForNextTimeAndQuitAsks) {
  MenuItem& menu = window.SystemMenu();
  shell::RefreshMenuChecks(engine, menu);
  shell::RunMenuCommand(engine, menu, resources::ID_BGM_25);
  EXPECT_EQ(engine.services.env.bgmVolume, 25);
  EXPECT_EQ(EnvFile()[14], 25);
  EXPECT_TRUE(Find(menu, resources::ID_BGM_75)->checked);
  EXPECT_FALSE(Find(menu, resources::ID_BGM_25)->checked);

  shell::RunMenuCommand(engine, menu, resources::ID_SPEED_SLOWEST);
  EXPECT_EQ(engine.services.env.messageSpeed, 200);
  EXPECT_TRUE(Find(menu, resources::ID_SPEED_SLOWEST)->checked);
  for (int windowed : {0, 1}) {
    shell::RunMenuCommand(engine, menu, resources::ID_FULLSCREEN);
    EXPECT_EQ(engine.services.env.windowed, windowed);
    EXPECT_EQ(game.fakes.display.fullScreen, windowed == 0);
  }
  shell::RunMenuCommand(engine, menu, resources::ID_EFFECTS);
  EXPECT_EQ(engine.services.env.screenEffects, 0);
  EXPECT_EQ(EnvFile()[8], 0);

  for (core::AdvanceMode mode : {core::AdvanceMode::Auto, core::AdvanceMode::Normal}) {
    shell::RunMenuCommand(engine, menu, resources::ID_AUTO);
    EXPECT_EQ(engine.input.advanceMode, mode);
  }
  engine.input.screenMode = core::ScreenMode::Choice;  // a choice is up: the item does nothing
  shell::RunMenuCommand(engine, menu, resources::ID_AUTO);
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);

  // The display mode acts only on a change of the low byte.
  EXPECT_EQ(shell::SetDisplayMode(engine, 0x101), 0);
  EXPECT_EQ(shell::SetDisplayMode(engine, 0), 1);
  EXPECT_TRUE(game.fakes.display.fullScreen);
  EXPECT_EQ(shell::SetDisplayMode(engine, 0), 0);

  // Quit asks first, and cancel keeps playing.
  game.fakes.ui.answers.push_back(platform::BoxAnswer::Cancel);
  shell::RunMenuCommand(engine, menu, resources::ID_QUIT);
  EXPECT_FALSE(game.fakes.window.quitCode.has_value());
  EXPECT_EQ(game.fakes.ui.boxes.at(0).buttons, platform::BoxButtons::OkCancel);
  shell::RunMenuCommand(engine, menu, resources::ID_QUIT);
  EXPECT_EQ(game.fakes.window.quitCode, 0);
  EXPECT_FALSE(game.fakes.window.timers.count(shell::WAIT_CURSOR_TIMER));
}

}  // namespace
}  // namespace qv::test
