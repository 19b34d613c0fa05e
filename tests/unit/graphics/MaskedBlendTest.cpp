// The masked blend's arithmetic, its transparent pixels, opacity, clipping and odd widths, against
// the rule applied pixel by pixel.
#include "graphics/MaskedBlend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

namespace qv::graphics {
namespace {

using core::Surface;

// The rule pixel by pixel, for comparison: a mask byte at 255 makes a pixel transparent, the
// blue one sets the cover, and the opacity is taken within 0 to 255. At opacity 0 every level
// but 0 darkens by one; opaque at full opacity, a = 254 keeps a share of what was under.
void Reference(Surface& d, int x, int y, const Surface& s, int opacity) {
  opacity = std::clamp(opacity, 0, 255);
  const int half = s.Width() / 2;
  for (int i = 0; i < s.Height(); ++i) {
    if (y + i < 0 || y + i >= d.Height()) continue;
    for (int j = 0; j < half; ++j) {
      if (x + j < 0 || x + j >= d.Width()) continue;
      const uint8_t* m = s.Row(i) + 3 * (half + j);
      if (m[0] == 255 || m[1] == 255 || m[2] == 255) continue;
      const int a = ((255 - m[0]) * opacity) >> 8;
      uint8_t* p = d.Row(y + i) + 3 * (x + j);
      for (int k = 0; k < 3; ++k)
        p[k] = static_cast<uint8_t>((s.Row(i)[3 * j + k] * a + p[k] * (255 - a)) >> 8);
    }
  }
}

Surface Random(int width, int height, std::mt19937& random) {
  Surface s(width, height);
  // Many 255s, so that transparent pixels of every kind occur.
  for (size_t k = 0; k < s.SizeBytes(); ++k) {
    const uint32_t r = random();
    s.Data()[k] = r % 4 == 0 ? 255 : static_cast<uint8_t>(r >> 8);
  }
  return s;
}

TEST(MaskedBlend, MatchesTheRuleForOddWidthsAndEveryPlacementOverTheEdges) {
  // Widths 1 (no colour column) to 141 at random places across every edge, or wholly outside,
  // at opacities beyond either end as well; opacity 0 among them, which still darkens.
  std::mt19937 random(7);
  for (int spriteWidth = 1; spriteWidth <= 141; spriteWidth += 5) {
    for (int place = 0; place < 6; ++place) {
      const Surface sprite = Random(spriteWidth, 1 + place, random);
      Surface ours = Random(60, 5, random), theirs = ours;
      const int x = static_cast<int>(random() % 140) - 70, y = static_cast<int>(random() % 12) - 6;
      const int opacity = place == 0 ? 0 : static_cast<int>(random() % 320) - 32;
      BlendMaskedSprite(ours, x, y, sprite, opacity);
      Reference(theirs, x, y, sprite, opacity);
      ASSERT_EQ(std::memcmp(ours.Data(), theirs.Data(), ours.SizeBytes()), 0)
          << "width " << spriteWidth << " at " << x << "," << y << " opacity " << opacity;
    }
  }
  // A save file may place a sprite anywhere an int reaches: the far ends cover nothing, and the
  // clipping must not overflow on the way (the sanitizer builds see it).
  const Surface sprite = Random(40, 4, random);
  Surface ours = Random(60, 5, random);
  const Surface before = ours;
  for (const int far : {INT_MIN, INT_MIN + 1, INT_MAX - 10, INT_MAX}) {
    BlendMaskedSprite(ours, far, 0, sprite, 255);
    BlendMaskedSprite(ours, 0, far, sprite, 255);
  }
  EXPECT_EQ(std::memcmp(ours.Data(), before.Data(), ours.SizeBytes()), 0);
}

}  // namespace
}  // namespace qv::graphics
