// The sample's pictures: each passes the engine's own checks for its use and fits the layout.
#include "qvtool/SamplePictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

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
    for (SamplePicture& picture : SamplePictures(kW, kH, 0)) files_[picture.path] = picture.bytes;
  }
  // The picture as the engine takes it for `kind`, or a failed test.
  static core::Surface Decoded(const std::string& path, PictureKind kind) {
    std::vector<uint8_t> bytes = files_[path];
    if (kind == PictureKind::Background) graphics::ScrambleBackground(bytes);
    std::string why;
    auto picture = graphics::DecodePicture(bytes, kind, kW, kH, why);
    EXPECT_TRUE(picture) << path << ": " << why;
    return picture ? picture->pixels : core::Surface();
  }
  // The mask byte of a masked picture at colour column x.
  static int Mask(const core::Surface& s, int x, int y) {
    return s.Row(y)[(s.Width() / 2 + x) * 3];
  }

  static inline std::map<std::string, std::vector<uint8_t>> files_;
};

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
      {"cg\\menu\\gallery_off.bmp", PictureKind::AreaImage},
      {"cg\\menu\\gallery_on.bmp", PictureKind::AreaImage},
      {"cg\\menu\\gallery_hover.bmp", PictureKind::AreaImage},
  };
  EXPECT_EQ(files_.size(), kinds.size() + 2);
  for (const auto& [path, kind] : kinds) Decoded(path, kind);
  // Readers of fixed byte counts: the choice bar's 96000, the menu screens' W x H x 6.
  EXPECT_EQ(Decoded("cg\\menu\\menubar.bmp", PictureKind::ChoiceBar).SizeBytes(), 96000u);
  EXPECT_EQ(Decoded("cg\\menu\\save_on.bmp", PictureKind::Sprite).SizeBytes(), kW * kH * 6u);
  for (const char* path : {"cg\\mask\\circle.bmp", "cg\\mask\\diagonal.bmp"}) {
    std::string why;
    const auto mask = graphics::DecodeMask(files_[path], why);
    ASSERT_TRUE(mask) << path << ": " << why;
    EXPECT_EQ(mask->indices.size(), kW * kH * 1u);
  }
  // Only event images have an image number right after the first backslash.
  std::vector<std::string> marked;
  for (const auto& [path, bytes] : files_) {
    const std::string after = path.substr(path.find('\\') + 1, 2);
    if (std::all_of(after.begin(), after.end(), ::isdigit)) marked.push_back(after);
  }
  EXPECT_EQ(marked, (std::vector<std::string>{"01", "02", "03"}));
}

TEST_F(SamplePicturesTest, OverlaysFitTheEnginesLayout) {
  const core::Surface hina = Decoded("cg\\chara\\hina.bmp", PictureKind::Sprite);
  EXPECT_EQ(Mask(hina, 0, 0), 255);                  // the scene shows around her
  EXPECT_EQ(Mask(hina, 150, hina.Height() - 1), 0);  // she stands on the frame's bottom row
  // Buttons under their click rectangles (skip, hide, save, load; rows 579-599), in the normal,
  // hover and pressed looks; between them the scene's strip shows.
  const core::Surface bar = Decoded("cg\\menu\\bar_a.bmp", PictureKind::MessageWindow);
  const core::Surface parts = Decoded("cg\\menu\\btnprts.bmp", PictureKind::ButtonParts);
  ASSERT_EQ(bar.Height(), 22);  // the shaded-band look blends it at row 578
  for (int centre : {85, 226, 404, 545}) {
    EXPECT_EQ(Mask(bar, centre, 11) + Mask(parts, centre, 11) + Mask(parts, centre, 33), 0);
  }
  EXPECT_EQ(Mask(parts, 155, 11), 255);
  EXPECT_EQ(Mask(parts, 155, 33), 255);
  // Two cursor frames on see-through green: never a green-255 pixel that would be drawn.
  const core::Surface cursor = Decoded("cg\\menu\\waitcur.bmp", PictureKind::WaitCursor);
  int drawn = 0;
  for (size_t i = 0; i < graphics::kWaitCursorBytes; i += 3) {
    const uint8_t* p = cursor.Data() + i;
    const bool green = p[0] == 0 && p[1] == 255 && p[2] == 0;
    EXPECT_TRUE(green || p[1] < 255);
    drawn += green ? 0 : 1;
  }
  EXPECT_GT(drawn, 200);
  EXPECT_NE(std::memcmp(cursor.Data(), cursor.Data() + 3072, 3072), 0);
}

TEST(SamplePictures, FramedLookIsAWholeFrameOverlay) {
  for (const SamplePicture& picture : SamplePictures(kW, kH, 1)) {
    if (picture.path != "cg\\menu\\bar_a.bmp") continue;
    std::string why;
    const auto bar =
        graphics::DecodePicture(picture.bytes, PictureKind::MessageWindow, kW, kH, why);
    ASSERT_TRUE(bar) << why;
    ASSERT_EQ(bar->Height(), kH);
    auto mask = [&](int x, int y) { return bar->pixels.Row(y)[(kW + x) * 3]; };
    EXPECT_EQ(mask(400, 100), 255);  // the scene above the window
    EXPECT_EQ(mask(400, 510), 110);  // the text box, translucent
    EXPECT_EQ(mask(404, 589), 0);    // the save button
  }
}

// make-sample writes them byte for byte as generated here, so they also come out the same on
// every run.
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
