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

core::Surface Filled(int width, int height, uint8_t seed) {
  core::Surface surface(width, height);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width * 3; ++c) {
      surface.StoredRow(r)[c] = static_cast<uint8_t>(seed + r * 13 + c);
    }
  }
  return surface;
}

bool Same(const core::Surface& a, const core::Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Data(), b.Data(), a.SizeBytes()) == 0;
}

bool AllZero(const core::Surface& surface) {
  for (size_t i = 0; i < surface.SizeBytes(); ++i) {
    if (surface.Data()[i] != 0) return false;
  }
  return true;
}

std::vector<uint8_t> Scrambled(std::vector<uint8_t> file) {
  ScrambleBackground(file);
  return file;
}

class PictureLoadingTest : public ::testing::Test {
 protected:
  PictureLoadingTest() {
    engine.config.width = kW;
    engine.config.height = kH;
    engine.config.windowName = "T";
  }

  void Put(const std::string& path, std::vector<uint8_t> bytes) {
    game.fakes.files.files[path] = std::move(bytes);
  }
  // The texts of the message boxes shown, each checked for the game's caption and warning icon.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : game.fakes.ui.boxes) {
      EXPECT_EQ(box.caption, "T");
      EXPECT_EQ(box.icon, platform::BoxIcon::Warning);
      texts.push_back(box.text);
    }
    return texts;
  }
  const std::vector<std::string>& Log() const { return game.fakes.log.lines; }

  test::FakeGame game{"x\r\n"};
  core::Engine& engine = game.engine;
  core::Graphics& graphics = engine.graphics;
};

using Texts = std::vector<std::string>;

// ---- Backgrounds ----

TEST_F(PictureLoadingTest, BackgroundIsUnscrambledIntoWorkPixelsAndClearsTheScreenFlags) {
  const core::Surface sky = Filled(kW, kH, 3);
  Put(kBase + "cg\\bg\\sky.bmp", Scrambled(EncodeBitmap(sky)));
  engine.messageWindowShown = 1;
  engine.messageWindowActive = 1;
  engine.waitCursorOn = 1;
  EXPECT_TRUE(LoadBackgroundPixels(engine, kBase + "cg\\bg\\sky.bmp"));
  EXPECT_TRUE(Same(graphics.workPixels, sky));
  EXPECT_EQ(engine.messageWindowShown, 0);
  EXPECT_EQ(engine.messageWindowActive, 0);
  EXPECT_EQ(engine.waitCursorOn, 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Log(), Texts{"picture cg\\bg\\sky.bmp"});  // the game's part of the path only
}

TEST_F(PictureLoadingTest, BackgroundWithAColourTableBeforeItsPixelsHonoursTheOffset) {
  const core::Surface sky = Filled(kW, kH, 9);
  std::vector<uint8_t> file = EncodeBitmap(sky);
  file.insert(file.begin() + 54, 1024, 0xAB);  // a 256-entry table nobody asked for
  core::StoreI32(&file[10], 54 + 1024);
  Put(kBase + "a.bmp", Scrambled(file));
  EXPECT_TRUE(LoadBackgroundPixels(engine, kBase + "a.bmp"));
  EXPECT_TRUE(Same(graphics.workPixels, sky));
}

TEST_F(PictureLoadingTest, UnusableBackgroundIsReportedWithItsFullPathAndLeavesBlack) {
  const std::vector<uint8_t> plain = EncodeBitmap(Filled(kW, kH, 1));
  std::vector<uint8_t> truncated = Scrambled(plain);
  truncated.resize(truncated.size() - 10);
  Put(kBase + "plain.bmp", plain);  // never scrambled: its header reads as noise
  Put(kBase + "small.bmp", Scrambled(EncodeBitmap(Filled(kW - 4, kH, 1))));
  Put(kBase + "cut.bmp", truncated);
  Put(kBase + "empty.bmp", {});
  for (const char* name : {"none.bmp", "plain.bmp", "small.bmp", "cut.bmp", "empty.bmp"}) {
    game.fakes.ui.boxes.clear();
    graphics.workPixels = Filled(kW, kH, 200);
    engine.waitCursorOn = 1;
    EXPECT_FALSE(LoadBackgroundPixels(engine, kBase + name)) << name;
    EXPECT_EQ(Boxes(), Texts{kMissing + kBase + name}) << name;
    EXPECT_TRUE(AllZero(graphics.workPixels)) << name;
    EXPECT_EQ(graphics.workPixels.Width(), kW);
    EXPECT_EQ(graphics.workPixels.Height(), kH);
    EXPECT_EQ(engine.waitCursorOn, 0) << name;
  }
  EXPECT_EQ(Log().size(), 5u);  // a missing file was attempted too
  EXPECT_EQ(Log().front(), "picture none.bmp");
}

TEST_F(PictureLoadingTest, BackgroundFailureMakesWorkPixelsTheFrameEvenWhenItWasNot) {
  EXPECT_FALSE(LoadBackgroundPixels(engine, kBase + "none.bmp"));
  EXPECT_EQ(graphics.workPixels.Width(), kW);
  EXPECT_EQ(graphics.workPixels.Height(), kH);
  EXPECT_TRUE(AllZero(graphics.workPixels));
}

// ---- Sprites and the message-window picture ----

TEST_F(PictureLoadingTest, SpriteIsReadPlainAndReportedByTheScriptsPath) {
  const core::Surface hina = Filled(6, 20, 5);  // taller than the frame: clipped when drawn
  Put(kBase + "cg\\hina.bmp", EncodeBitmap(hina));
  const auto sprite = ReadSprite(engine, kBase + "cg\\hina.bmp", "cg\\hina.bmp");
  ASSERT_TRUE(sprite);
  EXPECT_TRUE(Same(sprite->pixels, hina));

  Put(kBase + "cg\\thin.bmp", EncodeBitmap(Filled(1, 4, 5)));
  EXPECT_FALSE(ReadSprite(engine, kBase + "cg\\thin.bmp", "cg\\thin.bmp"));
  EXPECT_FALSE(ReadSprite(engine, kBase + "cg\\none.bmp", "cg\\none.bmp"));
  EXPECT_EQ(Boxes(), (Texts{kMissing + "cg\\thin.bmp", kMissing + "cg\\none.bmp"}));
  EXPECT_EQ(Log(), (Texts{"picture cg\\hina.bmp", "picture cg\\thin.bmp", "picture cg\\none.bmp"}));
}

TEST_F(PictureLoadingTest, MessageWindowPictureIsReadFromTheGameFolderAndReportedByItsPath) {
  EXPECT_FALSE(ReadMessageWindowPicture(engine));
  EXPECT_EQ(Boxes(), Texts{"cg\\menu\\bar_a.bmp"});
  const core::Surface bar = Filled(2 * kW, 3, 7);
  Put("cg\\menu\\bar_a.bmp", EncodeBitmap(bar));
  const auto picture = ReadMessageWindowPicture(engine);
  ASSERT_TRUE(picture);
  EXPECT_TRUE(Same(picture->pixels, bar));
  EXPECT_EQ(Log(), (Texts{"picture cg\\menu\\bar_a.bmp", "picture cg\\menu\\bar_a.bmp"}));
}

// ---- Interface parts ----

TEST_F(PictureLoadingTest, ButtonPartsMustBe1280By44AndAFailureKeepsTheOldOnes) {
  const std::string path = kBase + "cg\\menu\\btnprts.bmp";
  const core::Surface parts = Filled(1280, 44, 11);
  Put(path, EncodeBitmap(parts));
  EXPECT_EQ(LoadButtonParts(engine), 1);
  EXPECT_TRUE(Same(graphics.buttonParts, parts));
  const uint8_t* storage = graphics.buttonParts.Data();

  // A second load lands in the same memory, which the bar builder may be reading from.
  const core::Surface newer = Filled(1280, 44, 99);
  Put(path, EncodeBitmap(newer));
  EXPECT_EQ(LoadButtonParts(engine), 1);
  EXPECT_TRUE(Same(graphics.buttonParts, newer));
  EXPECT_EQ(graphics.buttonParts.Data(), storage);

  Put(path, EncodeBitmap(Filled(640, 44, 1)));
  EXPECT_EQ(LoadButtonParts(engine), 0);
  game.fakes.files.files.erase(path);
  EXPECT_EQ(LoadButtonParts(engine), 0);
  EXPECT_EQ(Boxes(), (Texts{"loss parts", "loss parts"}));
  EXPECT_TRUE(Same(graphics.buttonParts, newer));
  EXPECT_EQ(Log().back(), "picture cg\\menu\\btnprts.bmp");
}

TEST_F(PictureLoadingTest, WaitCursorTakesTheFirst6144BytesOfItsRows) {
  const core::Surface cursor = Filled(32, 70, 4);  // taller than needed: the rest is unused
  std::vector<uint8_t> file = EncodeBitmap(cursor);
  file.insert(file.begin() + 54, 8, 0);  // rows start past the header
  core::StoreI32(&file[10], 62);
  Put("cg\\menu\\waitcur.bmp", file);
  EXPECT_EQ(LoadWaitCursor(engine), 1);
  ASSERT_EQ(graphics.waitCursorPixels.size(), kWaitCursorBytes);
  EXPECT_EQ(std::memcmp(graphics.waitCursorPixels.data(), cursor.Data(), kWaitCursorBytes), 0);
  EXPECT_EQ(Log(), Texts{"picture cg\\menu\\waitcur.bmp"});
}

TEST_F(PictureLoadingTest, ShortOrMissingWaitCursorIsReportedByItsPathAndKeepsTheFrames) {
  graphics.waitCursorPixels.assign(kWaitCursorBytes, 0x42);
  Put("cg\\menu\\waitcur.bmp", EncodeBitmap(Filled(32, 63, 4)));
  EXPECT_EQ(LoadWaitCursor(engine), 0);
  game.fakes.files.files.clear();
  EXPECT_EQ(LoadWaitCursor(engine), 0);
  EXPECT_EQ(Boxes(), (Texts{"cg\\menu\\waitcur.bmp", "cg\\menu\\waitcur.bmp"}));
  EXPECT_EQ(graphics.waitCursorPixels, std::vector<uint8_t>(kWaitCursorBytes, 0x42));
}

TEST_F(PictureLoadingTest, LoadPictureChecksTheKindAndSaysLossParts) {
  const std::string path = kBase + "cg\\menu\\menubar.bmp";
  const core::Surface bar = Filled(800, 40, 2);
  Put(path, EncodeBitmap(bar));
  const auto picture = LoadPicture(engine, path, PictureKind::ChoiceBar);
  ASSERT_TRUE(picture);
  EXPECT_TRUE(Same(picture->pixels, bar));
  EXPECT_FALSE(LoadPicture(engine, path, PictureKind::Background));  // not the frame's size
  EXPECT_FALSE(LoadPicture(engine, kBase + "none.bmp", PictureKind::ChoiceBar));
  EXPECT_EQ(Boxes(), (Texts{"loss parts", "loss parts"}));
}

// ---- Area images ----

TEST_F(PictureLoadingTest, AreaImageGoesIntoThePageAsGivenAndAFailureKeepsThePage) {
  graphics.pageSurface = Filled(kW, kH, 50);
  const core::Surface page = graphics.pageSurface;
  Put("cg\\title_on.bmp", EncodeBitmap(Filled(kW, kH + 1, 0)));
  EXPECT_EQ(LoadAreaImage(engine, "cg\\title_on.bmp"), 0);
  EXPECT_EQ(LoadAreaImage(engine, "cg\\none.bmp"), 0);
  EXPECT_EQ(Boxes(), (Texts{"cg\\title_on.bmp", "cg\\none.bmp"}));
  EXPECT_TRUE(Same(graphics.pageSurface, page));

  const core::Surface highlight = Filled(kW, kH, 60);
  Put("cg\\title_on.bmp", EncodeBitmap(highlight));
  EXPECT_EQ(LoadAreaImage(engine, "cg\\title_on.bmp"), 1);
  EXPECT_TRUE(Same(graphics.pageSurface, highlight));
  EXPECT_EQ(Log().back(), "picture cg\\title_on.bmp");
}

// ---- Masks ----

TEST_F(PictureLoadingTest, MaskComesFromTheMaskFileNameAndABadOneSaysLossParts) {
  const std::vector<uint8_t> indices(static_cast<size_t>(kW * kH), 128);
  engine.maskFileName = kBase + "cg\\mask\\wipe.bmp";
  Put(engine.maskFileName, EncodeMask(kW, kH, indices));
  const auto mask = LoadMask(engine);
  ASSERT_TRUE(mask);
  EXPECT_EQ(mask->width, kW);
  EXPECT_EQ(mask->indices, indices);
  EXPECT_EQ(Log(), Texts{"picture cg\\mask\\wipe.bmp"});

  Put(engine.maskFileName, EncodeBitmap(Filled(kW, kH, 0)));  // 24 bits: not a mask
  EXPECT_FALSE(LoadMask(engine));
  engine.maskFileName.clear();  // no maskefct yet
  EXPECT_FALSE(LoadMask(engine));
  EXPECT_EQ(Boxes(), (Texts{"loss parts", "loss parts"}));
}

}  // namespace
}  // namespace qv::graphics
