// The sample's pictures: each passes the engine's own checks for its use and looks as it should.
#include "qvtool/SamplePictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/SampleGame.h"
#include "unit/tools/TempFolder.h"

namespace qv::tool {
namespace {

using graphics::PictureKind;

constexpr int kW = 800;
constexpr int kH = 600;

class SamplePicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (SamplePicture& picture : SamplePictures(kW, kH, 0)) {
      files_[picture.path] = std::move(picture.bytes);
    }
  }

  static const std::vector<uint8_t>& File(const std::string& path) {
    const auto found = files_.find(path);
    if (found == files_.end()) throw std::runtime_error("no sample picture " + path);
    return found->second;
  }

  // The picture as the engine would take it for `kind`, or a failed test.
  static core::Surface Decoded(const std::string& path, PictureKind kind) {
    std::vector<uint8_t> bytes = File(path);
    if (kind == PictureKind::Background) graphics::ScrambleBackground(bytes);
    std::string why;
    auto picture = graphics::DecodePicture(bytes, kind, kW, kH, why);
    EXPECT_TRUE(picture) << path << ": " << why;
    return picture ? picture->pixels : core::Surface();
  }

  static std::vector<int> At(const core::Surface& s, int x, int y) {
    const uint8_t* p = s.Row(y) + x * 3;
    return {p[0], p[1], p[2]};
  }
  // The mask byte of a masked picture at colour column x.
  static int MaskAt(const core::Surface& s, int x, int y) {
    return s.Row(y)[(s.Width() / 2 + x) * 3];
  }

  static std::map<std::string, std::vector<uint8_t>> files_;
};

std::map<std::string, std::vector<uint8_t>> SamplePicturesTest::files_;

TEST_F(SamplePicturesTest, EveryPicturePassesTheChecksOfItsUse) {
  const std::map<std::string, PictureKind> kinds = {
      {"cg\\bg\\sky.bmp", PictureKind::Background},
      {"cg\\bg\\room.bmp", PictureKind::Background},
      {"cg\\bg\\street.bmp", PictureKind::Background},
      {"cg\\bg\\title.bmp", PictureKind::Background},
      {"cg\\01sakura.bmp", PictureKind::Background},
      {"cg\\02sunset.bmp", PictureKind::Background},
      {"cg\\03night.bmp", PictureKind::Background},
      {"cg\\chara\\hina.bmp", PictureKind::Sprite},
      {"cg\\chara\\aoi.bmp", PictureKind::Sprite},
      {"cg\\menu\\title_on.bmp", PictureKind::AreaImage},
      {"cg\\menu\\bar_a.bmp", PictureKind::MessageWindow},
      {"cg\\menu\\btnprts.bmp", PictureKind::ButtonParts},
      {"cg\\menu\\waitcur.bmp", PictureKind::WaitCursor},
      {"cg\\menu\\menubar.bmp", PictureKind::ChoiceBar},
      {"cg\\menu\\save_off.bmp", PictureKind::Sprite},
      {"cg\\menu\\save_on.bmp", PictureKind::Sprite},
      {"cg\\menu\\load_off.bmp", PictureKind::Sprite},
      {"cg\\menu\\load_on.bmp", PictureKind::Sprite},
      {"cg\\menu\\logo.bmp", PictureKind::AreaImage},  // exactly the frame, as the logo must be
  };
  EXPECT_EQ(files_.size(), kinds.size() + 2);
  for (const auto& [path, kind] : kinds) Decoded(path, kind);
  // Readers of fixed byte counts: the choice bar's 96000 bytes, the menu screens' W x H x 6.
  EXPECT_EQ(Decoded("cg\\menu\\menubar.bmp", PictureKind::ChoiceBar).Width(), 800);
  EXPECT_EQ(Decoded("cg\\menu\\menubar.bmp", PictureKind::ChoiceBar).Height(), 40);
  EXPECT_EQ(Decoded("cg\\menu\\save_on.bmp", PictureKind::Sprite).Width(), 2 * kW);
  EXPECT_EQ(Decoded("cg\\menu\\waitcur.bmp", PictureKind::WaitCursor).Width(), 32);
  for (const char* path : {"cg\\mask\\circle.bmp", "cg\\mask\\diagonal.bmp"}) {
    std::string why;
    const auto mask = graphics::DecodeMask(File(path), why);
    ASSERT_TRUE(mask) << path << ": " << why;
    EXPECT_EQ(mask->width, kW);
    EXPECT_EQ(mask->height, kH);
  }
}

TEST_F(SamplePicturesTest, OnlyEventImagesCarryAnImageNumberAfterTheFirstBackslash) {
  std::vector<std::string> marked;
  for (const auto& [path, bytes] : files_) {
    const std::string after = path.substr(path.find('\\') + 1, 2);
    if (std::isdigit(static_cast<unsigned char>(after[0])) &&
        std::isdigit(static_cast<unsigned char>(after[1]))) {
      marked.push_back(after);
    }
  }
  EXPECT_EQ(marked, (std::vector<std::string>{"01", "02", "03"}));
}

TEST_F(SamplePicturesTest, SpritesStandOnTheBottomRowWithSoftEdges) {
  for (const char* path : {"cg\\chara\\hina.bmp", "cg\\chara\\aoi.bmp"}) {
    const core::Surface s = Decoded(path, PictureKind::Sprite);
    const int w = s.Width() / 2;
    EXPECT_EQ(MaskAt(s, 0, 0), 255) << path;                 // outside: the scene shows
    EXPECT_EQ(MaskAt(s, w / 2, s.Height() / 2), 0) << path;  // the body covers it
    EXPECT_EQ(MaskAt(s, w / 2, s.Height() - 1), 0) << path;  // feet on the frame's bottom row
    int greys = 0;
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < w; ++x) {
        const int m = MaskAt(s, x, y);
        greys += m > 0 && m < 255 ? 1 : 0;
      }
    }
    EXPECT_GE(greys, 500) << path;  // smoothed outlines, not a hard cut-out
  }
}

TEST_F(SamplePicturesTest, BarButtonsSitUnderTheirClickRectangles) {
  const core::Surface bar = Decoded("cg\\menu\\bar_a.bmp", PictureKind::MessageWindow);
  const core::Surface parts = Decoded("cg\\menu\\btnprts.bmp", PictureKind::ButtonParts);
  EXPECT_EQ(bar.Width(), 2 * kW);
  EXPECT_EQ(bar.Height(), 22);  // the shaded-band look blends it at row 578
  // Button rectangles: skip, hide, save, load (frame columns, rows 579-599).
  for (int centre : {85, 226, 404, 545}) {
    EXPECT_EQ(MaskAt(bar, centre, 11), 0) << centre;
    EXPECT_EQ(MaskAt(parts, centre, 11), 0) << centre;       // hover look
    EXPECT_EQ(MaskAt(parts, centre, 22 + 11), 0) << centre;  // pressed look
    EXPECT_NE(At(parts, centre - 30, 11), At(parts, centre - 30, 33)) << centre;
  }
  EXPECT_EQ(MaskAt(parts, 155, 11), 255);  // between skip and hide the bar's copy shows
  EXPECT_EQ(MaskAt(parts, 620, 33), 255);
  EXPECT_GT(MaskAt(bar, 155, 11), 0);  // the strip itself is translucent
  EXPECT_LT(MaskAt(bar, 155, 11), 255);
}

TEST(SamplePictures, FramedLookIsAWholeFrameOverlay) {
  for (const SamplePicture& picture : SamplePictures(kW, kH, 1)) {
    if (picture.path != "cg\\menu\\bar_a.bmp") continue;
    std::string why;
    const auto bar =
        graphics::DecodePicture(picture.bytes, PictureKind::MessageWindow, kW, kH, why);
    ASSERT_TRUE(bar) << why;
    const core::Surface& s = bar->pixels;
    ASSERT_EQ(s.Width(), 2 * kW);
    ASSERT_EQ(s.Height(), kH);
    auto mask = [&](int x, int y) { return s.Row(y)[(kW + x) * 3]; };
    EXPECT_EQ(mask(400, 100), 255);  // the scene above the window
    EXPECT_EQ(mask(400, 510), 110);  // the text box, translucent
    EXPECT_EQ(mask(404, 589), 0);    // the save button
    return;
  }
  FAIL() << "no bar_a.bmp";
}

TEST_F(SamplePicturesTest, WaitCursorFramesAreArrowsOnSeeThroughGreen) {
  const core::Surface s = Decoded("cg\\menu\\waitcur.bmp", PictureKind::WaitCursor);
  const std::vector<int> green = {0, 255, 0};
  int drawn[2] = {0, 0};
  for (int r = 0; r < 64; ++r) {
    for (int x = 0; x < 32; ++x) {
      const std::vector<int> p = At(s, x, 63 - r);
      if (p == green) continue;
      EXPECT_LT(p[1], 255) << "a green-255 pixel would be drawn, not see-through";
      ++drawn[r / 32];
    }
  }
  EXPECT_GT(drawn[0], 100);
  EXPECT_EQ(drawn[0], drawn[1]);  // the same arrow, moved
  EXPECT_EQ(At(s, 0, 0), green);
  EXPECT_NE(std::vector<uint8_t>(s.StoredRow(0), s.StoredRow(32)),
            std::vector<uint8_t>(s.StoredRow(32), s.StoredRow(63) + 96));
}

TEST_F(SamplePicturesTest, MasksOpenFromTheirLightestEntries) {
  std::string why;
  const auto circle = graphics::DecodeMask(File("cg\\mask\\circle.bmp"), why);
  const auto diagonal = graphics::DecodeMask(File("cg\\mask\\diagonal.bmp"), why);
  ASSERT_TRUE(circle && diagonal);
  auto red = [](const graphics::MaskPicture& m, int x, int y) {
    return m.red[m.indices[static_cast<size_t>(m.height - 1 - y) * m.width + x]];
  };
  EXPECT_GE(red(*circle, kW / 2, kH / 2), 254);
  EXPECT_LE(red(*circle, 0, 0), 1);
  EXPECT_EQ(red(*diagonal, 0, 0), 255);  // top left first
  EXPECT_EQ(red(*diagonal, kW - 1, kH - 1), 0);
}

// Written by make-sample byte for byte as generated here, which also shows they come out the same
// on every run.
TEST_F(SamplePicturesTest, MakeSampleWritesThemIntoTheFolderTree) {
  test::TempFolder temp;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(MakeSample(temp.Path(), cp932).succeeded);
  for (const auto& [enginePath, expected] : files_) {
    std::string path = enginePath, bytes, error;
    std::replace(path.begin(), path.end(), '\\', '/');
    ASSERT_TRUE(ReadFileBytes(temp / path, bytes, error)) << path << ": " << error;
    EXPECT_TRUE(bytes == std::string(expected.begin(), expected.end())) << path;
  }
}

}  // namespace
}  // namespace qv::tool
