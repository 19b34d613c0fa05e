// The sample's pictures: each passes the engine's own checks for its use.
#include "qvtool/SamplePictures.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "graphics/PictureFile.h"

namespace qv::tool {
namespace {

using graphics::PictureKind;
constexpr int kW = 800;
constexpr int kH = 600;

TEST(SamplePictures, EveryPicturePassesTheChecksOfItsUse) {
  const PictureKind kBg = PictureKind::Background, kSprite = PictureKind::Sprite,
                    kArea = PictureKind::AreaImage;
  const std::map<std::string, PictureKind> kinds = {
      {"cg\\bg\\sky.bmp", kBg},
      {"cg\\bg\\room.bmp", kBg},
      {"cg\\bg\\street.bmp", kBg},
      {"cg\\bg\\title.bmp", kBg},
      {"cg\\01sakura.bmp", kBg},
      {"cg\\02sunset.bmp", kBg},
      {"cg\\03night.bmp", kBg},
      {"cg\\chara\\hina.bmp", kSprite},
      {"cg\\chara\\aoi.bmp", kSprite},
      {"cg\\menu\\title_on.bmp", kArea},
      {"cg\\menu\\street_on.bmp", kArea},
      {"cg\\menu\\bar_a.bmp", PictureKind::MessageWindow},
      {"cg\\menu\\btnprts.bmp", PictureKind::ButtonParts},
      {"cg\\menu\\waitcur.bmp", PictureKind::WaitCursor},
      {"cg\\menu\\menubar.bmp", PictureKind::ChoiceBar},
      {"cg\\menu\\save_off.bmp", kSprite},
      {"cg\\menu\\save_on.bmp", kSprite},
      {"cg\\menu\\load_off.bmp", kSprite},
      {"cg\\menu\\load_on.bmp", kSprite},
      {"cg\\menu\\logo.bmp", kArea},  // exactly the frame, as the logo must be
      {"cg\\menu\\gallery_off.bmp", kArea},
      {"cg\\menu\\gallery_on.bmp", kArea},
      {"cg\\menu\\gallery_hover.bmp", kArea},
  };
  // Both looks of the message window: the shaded band and the whole-frame overlay.
  for (int gameType : {0, 1}) {
    SCOPED_TRACE(gameType);
    size_t masks = 0;
    const std::vector<SamplePicture> pictures = SamplePictures(kW, kH, gameType);
    EXPECT_EQ(pictures.size(), kinds.size() + 2);
    for (const SamplePicture& picture : pictures) {
      SCOPED_TRACE(picture.path);
      std::string why;
      if (picture.path.starts_with("cg\\mask\\")) {
        const auto mask = graphics::DecodeMask(picture.bytes, why);
        ASSERT_TRUE(mask) << why;
        EXPECT_EQ(mask->indices.size(), kW * kH * 1u);
        ++masks;
        continue;
      }
      ASSERT_TRUE(kinds.contains(picture.path));
      const PictureKind kind = kinds.at(picture.path);
      std::vector<uint8_t> bytes = picture.bytes;
      if (kind == kBg) graphics::ScrambleBackground(bytes);
      const auto decoded = graphics::DecodePicture(bytes, kind, kW, kH, why);
      ASSERT_TRUE(decoded) << why;
      // Readers of fixed byte counts: the choice bar's 96000, the menu screens' W x H x 6.
      const size_t size = decoded->pixels.SizeBytes();
      EXPECT_TRUE(kind != PictureKind::ChoiceBar || size == 96000u) << size;
      EXPECT_TRUE(picture.path != "cg\\menu\\save_on.bmp" || size == kW * kH * 6u) << size;
      EXPECT_TRUE(kind != PictureKind::MessageWindow || decoded->Height() == (gameType ? kH : 22));
      // Only event images have an image number right after the first backslash.
      const bool numbered = std::isdigit(picture.path[3]) && std::isdigit(picture.path[4]);
      EXPECT_EQ(numbered, picture.path.starts_with("cg\\0")) << "image number";
    }
    EXPECT_EQ(masks, 2u);
  }
}

}  // namespace
}  // namespace qv::tool
