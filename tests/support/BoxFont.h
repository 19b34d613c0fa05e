// A font for layout tests: every glyph a solid box whose size and coverage a test chooses.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "platform/Glyphs.h"

namespace qv::test {

class BoxFont final : public platform::Font {
 public:
  int32_t Ascent() const override { return ascent; }
  std::string FilePath() const override { return "box.ttf"; }
  bool Glyph(uint32_t code, platform::GlyphBitmap& out) override {
    ++requests;
    out = {};
    if (failing.count(code)) return false;
    if (auto special = glyphs.find(code); special != glyphs.end()) {
      out = special->second;
      return true;
    }
    if (code == 0x20 || code == 0x8140) return true;  // spaces carry no ink
    return Box(code > 0xFF ? 16 : 8, 16, 64, out), true;
  }

  // A width x height box of coverage `value`, its top 16 pixels above the baseline.
  static void Box(int width, int height, uint8_t value, platform::GlyphBitmap& out) {
    out.blackBoxX = width;
    out.blackBoxY = height;
    out.pitch = (width + 3) & ~3;
    out.originY = 16;
    out.coverage.assign(static_cast<size_t>(out.pitch) * height, 0);
    for (int r = 0; r < height; ++r) {
      for (int c = 0; c < width; ++c) out.coverage[static_cast<size_t>(r * out.pitch + c)] = value;
    }
  }

  int32_t ascent = 18;
  std::map<uint32_t, platform::GlyphBitmap> glyphs;
  std::set<uint32_t> failing;
  int requests = 0;
};

}  // namespace qv::test
