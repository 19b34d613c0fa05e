// Click routing, skip and auto-advance, the setting commands and the window's icon, on fake
// platform services.
#include "shell/MainWindow.h"

#include <gtest/gtest.h>

#include "graphics/PictureFile.h"
#include "resources/EngineIcon.h"
#include "resources/SystemMenuResource.h"
#include "shell/DisplayMode.h"
#include "shell/HeldSkip.h"
#include "shell/SystemMenu.h"
#include "shell/WindowIcon.h"
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
};

// Auto's end at a click is a golden replay's.
TEST_F(Window, ClickIsIgnoredDuringSyncOrBusyInputAndOtherwiseCutsVoiceAndSkip) {
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
}

TEST_F(Window, HeldCtrlSkipsWhereTheSkipButtonWouldAndItsReleaseEndsOnlyItsOwnSkip) {
  const auto skipping = [&] { return engine.input.advanceMode == core::AdvanceMode::Skip; };
  engine.view.messageWindowActive = 1;
  engine.services.env.messageSpeed = 40;
  shell::StartHeldSkip(engine);  // the message window hidden
  engine.view.messageWindowShown = 1;
  engine.input.screenMode = core::ScreenMode::Choice;
  shell::StartHeldSkip(engine);
  engine.input.screenMode = core::ScreenMode::Game;
  engine.services.comforts.enabled = false;
  shell::StartHeldSkip(engine);
  EXPECT_FALSE(skipping());
  engine.services.comforts.enabled = true;

  shell::StartHeldSkip(engine);
  EXPECT_TRUE(skipping());
  EXPECT_EQ(engine.services.env.messageSpeed, 0);
  shell::EndHeldSkip(engine);
  EXPECT_FALSE(skipping());
  EXPECT_EQ(engine.services.env.messageSpeed, 40);

  // A click ended the held skip and the skip button started its own: neither a second press nor
  // letting go takes that one over.
  shell::StartHeldSkip(engine);
  shell::HandleClick(engine, 0);
  shell::SetSkipMode(engine.input, engine.services.env, engine.script.gate, true);
  shell::EndHeldSkip(engine);
  shell::StartHeldSkip(engine);
  shell::EndHeldSkip(engine);
  EXPECT_TRUE(skipping());
}

// What the items write, and a right click ending auto, are a golden replay's.
TEST_F(Window, RightClickEndsSkipBeforeTheMarksAndVolumesLeaveTheMarksForNextTime) {
  engine.services.env.messageSpeed = 100;
  shell::SetSkipMode(engine.input, engine.services.env, engine.script.gate, true);
  Deliver(platform::MSG_RBUTTONUP, 0, MakePoint(5, 5));
  EXPECT_EQ(engine.input.advanceMode, core::AdvanceMode::Normal);
  ASSERT_EQ(game.fakes.ui.menus.size(), 1u);
  EXPECT_TRUE(Find(game.fakes.ui.menus[0], resources::ID_SPEED_SLOW)->checked);
  EXPECT_TRUE(game.fakes.window.posted.empty());

  MenuItem& menu = window.SystemMenu();
  shell::RefreshMenuChecks(engine, menu);
  shell::RunMenuCommand(engine, menu, resources::ID_BGM_25);
  EXPECT_TRUE(Find(menu, resources::ID_BGM_75)->checked);
  EXPECT_FALSE(Find(menu, resources::ID_BGM_25)->checked);
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
  // Print Screen before there is a frame writes nothing (the picture it writes is a replay's).
  EXPECT_EQ(Deliver(platform::MSG_KEYUP, platform::VK_SNAPSHOT, 0xC0000001), 1);
  EXPECT_EQ(game.fakes.log.lines.back(), "screenshot failed");
}

std::string Bitmap(int width, int height, uint8_t blue) {
  core::Surface picture;
  picture.Create(width, height);
  for (int r = 0; r < height; ++r) picture.StoredRow(r)[0] = blue;
  const std::vector<uint8_t> bytes = graphics::EncodeBitmap(picture);
  return std::string(bytes.begin(), bytes.end());
}

TEST(WindowIcon, TheGamesOwnWhenUsableElseTheEngines) {
  const std::vector<uint8_t> engineIcon = resources::EngineIcon();
  struct Case {
    const char* what;
    std::optional<std::string> file;
    int width;  // of the icon the window gets
  };
  const Case cases[] = {{"no icon.bmp", std::nullopt, resources::kEngineIconSize},
                        {"a 48 x 48 picture", Bitmap(48, 48, 7), 48},
                        {"too large", Bitmap(300, 20, 7), resources::kEngineIconSize},
                        {"not a picture", std::string("BMnonsense"), resources::kEngineIconSize}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeGame game("x\r\n");
    if (c.file) game.fakes.files.Put(std::string(kFakeBaseDirectory) + "icon.bmp", *c.file);
    shell::SetWindowIcon(game.engine);
    EXPECT_EQ(game.fakes.window.iconWidth, c.width);
    if (c.width == resources::kEngineIconSize) {
      EXPECT_EQ(game.fakes.window.icon, engineIcon);
    } else {
      EXPECT_EQ(game.fakes.window.icon[0], 7);  // the bottom row first, as the window takes it
    }
  }
}

}  // namespace
}  // namespace qv::test
