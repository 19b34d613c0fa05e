// The message window's looks, the button bar and hiding the window, pixel for pixel.
#include "graphics/Compositing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "graphics/PictureFile.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

struct Compositing : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  graphics::Presentation& g = engine.view;

  void SetUp() override { ASSERT_EQ(game.CreateFrame(800, 600), 1); }
  static void Paint(core::Surface& surface, uint8_t value) {
    std::memset(surface.Data(), value, surface.SizeBytes());
  }
  // A masked picture of `width` x `height` in one colour, its mask all `mask`.
  void PutMessageWindow(int width, int height, uint8_t colour, uint8_t mask) {
    core::Surface picture(2 * width, height);
    for (int y = 0; y < height; ++y) {
      std::memset(picture.Row(y), colour, static_cast<size_t>(width) * 3);
      std::memset(picture.Row(y) + 3 * width, mask, static_cast<size_t>(width) * 3);
    }
    auto file = graphics::EncodeBitmap(picture);
    game.fakes.files.Put("cg\\menu\\bar_a.bmp", std::string(file.begin(), file.end()));
  }
};

TEST_F(Compositing, ShadedBandDarkensTheBottomAndGradientRowsAboveItWithUnsignedBrightness) {
  Paint(g.workPixels, 100);
  Paint(g.sceneSurface, 100);
  PutMessageWindow(800, 22, 0, 255);  // fully transparent: the band shows as computed
  engine.view.brightnessLevel = 30;
  graphics::BuildMessageWindow(engine.view, 1);
  // Steps 24, 18, 12, 6, 0 above the band; negative steps are copied unchanged instead of
  // wrapping light pixels round to dark ones.
  std::vector<int> rows;
  for (int r : {0, 169, 170, 171, 173, 174, 175, 189, 599})
    rows.push_back(g.pageSurface.StoredRow(r)[5]);
  EXPECT_EQ(rows, (std::vector<int>{70, 70, 76, 82, 94, 100, 100, 100, 100}));
  EXPECT_EQ(engine.view.waitCursorOn, 0);
  // Large or negative levels compare as unsigned and give black.
  for (int32_t level : {255, 1000, -1}) {
    Paint(g.workPixels, 200);
    engine.view.brightnessLevel = level;
    graphics::BuildMessageWindow(engine.view, 1);
    EXPECT_EQ(g.pageSurface.StoredRow(0)[0], 0) << level;
    EXPECT_EQ(g.barSurface.StoredRow(0)[0], 0) << level;
  }
}

TEST_F(Compositing, ButtonBarHoldsTwoLooksOfTheSceneStripAndSkipsRow22) {
  Paint(g.sceneSurface, 100);
  for (int y = 578; y < 600; ++y) g.sceneSurface.Row(y)[0] = static_cast<uint8_t>(y - 500);
  Paint(g.barSurface, 9);
  engine.view.brightnessLevel = 30;
  graphics::BuildButtonBar(engine.view);
  // Row 22 is not refreshed, but darkened with the rest.
  std::vector<int> rows;
  for (int y : {0, 21, 22, 23, 43}) rows.push_back(g.barSurface.Row(y)[0]);
  EXPECT_EQ(rows, (std::vector<int>{78 - 30, 99 - 30, 9 - 9, 78 - 30, 98 - 30}));
  EXPECT_EQ(g.barSurface.Row(0)[3], 70);
}

TEST_F(Compositing, FramedLookBlendsThePictureOverTheWholeScene) {
  engine.services.config.gameType = 1;
  Paint(g.sceneSurface, 0);
  PutMessageWindow(800, 600, 255, 0);  // opaque white
  graphics::BuildMessageWindow(engine.view, 1);
  EXPECT_EQ(g.pageSurface.Row(0)[0], 253);  // a = 254 at full opacity
  EXPECT_EQ(g.pageSurface.Row(599)[2399], 253);
}

TEST_F(Compositing, NewLooksGoIntoTheSurfacesInPlaceWhileAHoverCopiesFromThem) {
  PutMessageWindow(800, 22, 0, 128);
  const uint8_t* page = g.pageSurface.Data();
  const uint8_t* scene = g.sceneSurface.Data();
  std::atomic<bool> done{false};
  std::thread hover([&] {  // the window thread's hover copies, under the window lock
    core::Surface copy(800, 600);
    while (!done) {
      g.screen.Locked([&](core::Surface&) {
        core::CopyAll(copy, g.pageSurface);
        core::CopyAll(copy, g.sceneSurface);
      });
    }
  });
  for (int round = 0; round < 20; ++round) {
    engine.services.config.gameType = round % 2;  // the band look, then the framed one
    graphics::BuildMessageWindow(engine.view, 1 + round / 2 % 2);
  }
  done = true;
  hover.join();
  EXPECT_EQ(g.pageSurface.Data(), page);
  EXPECT_EQ(g.sceneSurface.Data(), scene);
}

TEST_F(Compositing, HidingAndShowingTheMessageWindowRestoresTheScreenExactly) {
  Paint(g.sceneCopySurface, 10);  // the scene without the window
  Paint(g.sceneSurface, 10);
  core::Surface page = g.sceneSurface;
  Paint(page, 99);  // the page with its text
  page.Row(460)[100] = 1;
  g.screen.PutAll(page);
  engine.view.messageWindowActive = 1;
  engine.view.messageWindowShown = 1;
  graphics::ToggleMessageWindow(engine.view, 1);
  EXPECT_EQ(engine.view.messageWindowShown, 0);
  EXPECT_EQ(engine.view.waitCursorOn, 0);
  EXPECT_EQ(g.screen.Surface().StoredRow(0)[0], 10);
  EXPECT_EQ(std::memcmp(game.fakes.window.picture.data(), g.sceneCopySurface.Data(), 600), 0);
  graphics::ToggleMessageWindow(engine.view, 0);
  EXPECT_EQ(engine.view.messageWindowShown, 1);
  EXPECT_EQ(engine.view.waitCursorOn, 1);
  EXPECT_EQ(std::memcmp(g.screen.Surface().Data(), page.Data(), page.SizeBytes()), 0);
  EXPECT_EQ(std::memcmp(g.sceneSurface.Data(), g.sceneCopySurface.Data(), page.SizeBytes()), 0);
  // Refused while a screen is being drawn, or before a page is up.
  engine.input.inputBusy = 1;
  graphics::ToggleMessageWindow(engine.view, 1);
  EXPECT_EQ(engine.view.messageWindowShown, 1);
}

}  // namespace
}  // namespace qv::test
