// A font rasteriser without fonts, for layout tests: fixed boxes a test can see through.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Glyphs.h"

namespace qv::test {

// Every two-byte character is a full 16 × 16 box of coverage 64, every one-byte character an
// 8 × 16 one, both with their top row 16 above the baseline; the half-width space (0x20) and the
// full-width space (0x8140) have no ink. A test may set any code's bitmap or make it fail.
// Not for use from two threads while a test changes it.
class FakeFont final : public platform::Font {
 public:
  int32_t Ascent() const override { return ascent; }
  std::string FilePath() const override { return "fake"; }
  bool Glyph(uint32_t code, platform::GlyphBitmap& out) override;

  // A full box of coverage 64.
  static platform::GlyphBitmap Box(int32_t width, int32_t height, int32_t originY);

  int32_t ascent = 18;
  std::map<uint32_t, platform::GlyphBitmap> glyphs;  // overrides the boxes
  std::set<uint32_t> failing;                        // codes the font cannot render
  std::vector<uint32_t> asked;                       // every code asked for, in order
};

class FakeGlyphs final : public platform::Glyphs {
 public:
  std::shared_ptr<platform::Font> OpenFont(const platform::FontRequest&) override { return font; }

  std::shared_ptr<FakeFont> font = std::make_shared<FakeFont>();  // handed out for every request
};

}  // namespace qv::test
