// A font rasteriser without fonts (see FakeGlyphs.h).
#include "support/FakeGlyphs.h"

namespace qv::test {

platform::GlyphBitmap FakeFont::Box(int32_t width, int32_t height, int32_t originY) {
  platform::GlyphBitmap box;
  box.blackBoxX = width;
  box.blackBoxY = height;
  box.pitch = (width + 3) & ~3;
  box.originY = originY;
  box.coverage.assign(box.ByteSize(), 0);
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t column = 0; column < width; ++column) box.coverage[row * box.pitch + column] = 64;
  }
  return box;
}

bool FakeFont::Glyph(uint32_t code, platform::GlyphBitmap& out) {
  asked.push_back(code);
  out = platform::GlyphBitmap{};
  if (failing.contains(code)) return false;
  if (auto set = glyphs.find(code); set != glyphs.end()) {
    out = set->second;
    return true;
  }
  if (code == 0x20 || code == 0x8140) return true;
  out = Box(code > 0xFF ? 16 : 8, 16, 16);
  return true;
}

}  // namespace qv::test
