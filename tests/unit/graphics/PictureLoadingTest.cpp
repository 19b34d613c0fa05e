// The engine's picture loaders: where each picture goes, the log, and what a bad file costs.
#include "graphics/PictureLoading.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"
#include "support/FakePlatform.h"

namespace qv::graphics {
namespace {

constexpr int kW = 16;
constexpr int kH = 12;
const std::string kBase = test::kFakeBaseDirectory;
const std::string kMissing = "以下の画像ファイルが存在しないか、破損しています\n　：";
using Texts = std::vector<std::string>;

core::Surface Filled(int width, int height, uint8_t seed) {
  core::Surface s(width, height);
  for (size_t i = 0; i < s.SizeBytes(); ++i) s.Data()[i] = static_cast<uint8_t>(seed + i * 7);
  return s;
}

bool Same(const core::Surface& a, const core::Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Data(), b.Data(), a.SizeBytes()) == 0;
}

std::vector<uint8_t> Scrambled(std::vector<uint8_t> file) {
  ScrambleBackground(file);
  return file;
}

class PictureLoadingTest : public ::testing::Test {
 protected:
  PictureLoadingTest() {
    engine.services.config.width = kW;
    engine.services.config.height = kH;
  }
  void Put(const std::string& path, std::vector<uint8_t> bytes) {
    game.fakes.files.files[path] = std::move(bytes);
  }
  // The texts of the boxes shown, each checked for the game's caption and the warning icon.
  Texts Boxes() {
    Texts texts;
    for (const auto& box : game.fakes.ui.boxes) {
      EXPECT_EQ(box.caption, "T");
      EXPECT_EQ(box.icon, platform::BoxIcon::Warning);
      texts.push_back(box.text);
    }
    game.fakes.ui.boxes.clear();
    return texts;
  }
  const Texts& Log() const { return game.fakes.log.lines; }

  test::FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  graphics::Presentation& view = engine.view;
};

TEST_F(PictureLoadingTest, UnusableBackgroundIsReportedWithItsFullPathAndLeavesBlack) {
  // Missing; never scrambled (its header reads as noise); not the frame's size.
  Put(kBase + "plain.bmp", EncodeBitmap(Filled(kW, kH, 1)));
  Put(kBase + "small.bmp", Scrambled(EncodeBitmap(Filled(kW - 4, kH, 1))));
  for (const char* name : {"none.bmp", "plain.bmp", "small.bmp"}) {
    view.workPixels = Filled(kW, kH, 200);
    engine.view.waitCursorOn = 1;
    EXPECT_FALSE(LoadBackgroundPixels(engine.view, kBase + name)) << name;
    EXPECT_EQ(Boxes(), Texts{kMissing + kBase + name});
    EXPECT_TRUE(Same(view.workPixels, core::Surface(kW, kH))) << name;
    EXPECT_EQ(engine.view.waitCursorOn, 0);
  }
  EXPECT_EQ(Log().size(), 3u);  // the missing file was attempted too
  view.workPixels.Release();    // even before the surfaces exist, the result is the frame
  EXPECT_FALSE(LoadBackgroundPixels(engine.view, kBase + "none.bmp"));
  EXPECT_TRUE(Same(view.workPixels, core::Surface(kW, kH)));
}

TEST_F(PictureLoadingTest, SpriteAndMessageWindowPictureAreReportedAsTheScriptNamesThem) {
  const core::Surface hina = Filled(6, 20, 5);  // taller than the frame: clipped when drawn
  Put(kBase + "cg\\hina.bmp", EncodeBitmap(hina));
  Put(kBase + "cg\\thin.bmp", EncodeBitmap(Filled(1, 4, 5)));
  const auto sprite = ReadSprite(engine.view, kBase + "cg\\hina.bmp", "cg\\hina.bmp");
  ASSERT_TRUE(sprite);
  EXPECT_TRUE(Same(sprite->pixels, hina));
  EXPECT_FALSE(ReadSprite(engine.view, kBase + "cg\\thin.bmp", "cg\\thin.bmp"));
  EXPECT_FALSE(ReadSprite(engine.view, kBase + "cg\\none.bmp", "cg\\none.bmp"));
  EXPECT_EQ(Boxes(), (Texts{kMissing + "cg\\thin.bmp", kMissing + "cg\\none.bmp"}));

  EXPECT_FALSE(MessageWindowPicture(engine.view));
  EXPECT_EQ(Boxes(), Texts{"cg\\menu\\bar_a.bmp"});
  Put("cg\\menu\\bar_a.bmp", EncodeBitmap(hina));  // relative to the game folder
  EXPECT_TRUE(MessageWindowPicture(engine.view));
  EXPECT_EQ(Log().back(), "picture cg\\menu\\bar_a.bmp");
}

TEST_F(PictureLoadingTest, InterfacePartsLoadInPlaceAndAFailureKeepsTheOldOnes) {
  const std::string parts = kBase + "cg\\menu\\btnprts.bmp";
  Put(parts, EncodeBitmap(Filled(1280, 44, 11)));
  EXPECT_EQ(LoadButtonParts(engine.view), 1);
  const uint8_t* storage = view.buttonParts.Data();
  const core::Surface newer = Filled(1280, 44, 99);
  Put(parts, EncodeBitmap(newer));
  EXPECT_EQ(LoadButtonParts(engine.view), 1);  // into the memory the bar builder may be reading
  EXPECT_TRUE(Same(view.buttonParts, newer));
  EXPECT_EQ(view.buttonParts.Data(), storage);
  Put(parts, EncodeBitmap(Filled(640, 44, 1)));
  EXPECT_EQ(LoadButtonParts(engine.view), 0);
  EXPECT_EQ(Boxes(), Texts{"loss parts"});
  EXPECT_TRUE(Same(view.buttonParts, newer));

  const core::Surface cursor = Filled(32, 70, 4);  // taller than needed: the rest is unused
  Put("cg\\menu\\waitcur.bmp", EncodeBitmap(cursor));
  EXPECT_EQ(LoadWaitCursor(engine.view), 1);
  ASSERT_EQ(view.waitCursorPixels.size(), kWaitCursorBytes);
  EXPECT_EQ(std::memcmp(view.waitCursorPixels.data(), cursor.Data(), kWaitCursorBytes), 0);
  Put("cg\\menu\\waitcur.bmp", EncodeBitmap(Filled(32, 63, 4)));
  EXPECT_EQ(LoadWaitCursor(engine.view), 0);
  EXPECT_EQ(Boxes(), Texts{"cg\\menu\\waitcur.bmp"});
  EXPECT_EQ(std::memcmp(view.waitCursorPixels.data(), cursor.Data(), kWaitCursorBytes), 0);
}

TEST_F(PictureLoadingTest, ChoiceBarsAreaImagesAndMasksReportAsTheirCallersExpect) {
  Put(kBase + "bar.bmp", EncodeBitmap(Filled(800, 40, 2)));  // a choice bar's (its test's)
  EXPECT_FALSE(LoadPicture(engine.view, kBase + "bar.bmp", PictureKind::Background));
  EXPECT_EQ(Boxes(), Texts{"loss parts"});

  view.pageSurface = Filled(kW, kH, 50);
  const core::Surface page = view.pageSurface;
  Put("cg\\on.bmp", EncodeBitmap(Filled(kW, kH + 1, 0)));
  EXPECT_EQ(LoadAreaImage(engine.view, "cg\\on.bmp"), 0);
  EXPECT_EQ(Boxes(), Texts{"cg\\on.bmp"});
  EXPECT_TRUE(Same(view.pageSurface, page));
  const core::Surface highlight = Filled(kW, kH, 60);
  Put("cg\\on.bmp", EncodeBitmap(highlight));
  EXPECT_EQ(LoadAreaImage(engine.view, "cg\\on.bmp"), 1);
  EXPECT_TRUE(Same(view.pageSurface, highlight));

  // A mask that is missing or loads is the transitions' test's.
  Put(kBase + "cg\\mask.bmp", EncodeBitmap(Filled(kW, kH, 0)));  // 24 bits: not a mask
  EXPECT_FALSE(LoadMask(engine.view, kBase + "cg\\mask.bmp"));
  EXPECT_EQ(Boxes(), Texts{"loss parts"});
}

}  // namespace
}  // namespace qv::graphics
