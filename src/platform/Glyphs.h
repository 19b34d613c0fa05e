// The font rasteriser: anti-aliased glyph bitmaps of a named face, as the text layer draws them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv::platform {

// A face asked for by name, as a game's text layer names it.
struct FontRequest {
  std::string faceName;    // code page 932 bytes, e.g. "ＭＳ ゴシック"
  int32_t cellHeight = 0;  // pixels from the top of the tallest glyph to the lowest descent
  int32_t weight = 400;    // 400 normal, 700 bold; 600 and above is drawn bold
};

// One glyph's coverage: `blackBoxY` rows, top row first, each `pitch` bytes (the black box's width
// rounded up to a multiple of 4). Values run from 0 (no ink) to 64 (fully covered).
struct GlyphBitmap {
  int32_t blackBoxX = 0;
  int32_t blackBoxY = 0;
  int32_t pitch = 0;
  int32_t originX = 0;   // left of the black box, from the pen
  int32_t originY = 0;   // top row of the black box, upwards from the baseline
  int32_t advanceX = 0;  // how far the pen moves after the glyph (0: unknown)
  std::vector<uint8_t> coverage;

  // What the bitmap takes in memory; 0 for a glyph without ink (a space).
  size_t ByteSize() const { return static_cast<size_t>(pitch) * static_cast<size_t>(blackBoxY); }
};

// An opened face at one size. Safe to use from any thread.
class Font {
 public:
  virtual ~Font() = default;
  // Pixels from the top of the cell to the baseline.
  virtual int32_t Ascent() const = 0;
  // The font file actually used, for the log.
  virtual std::string FilePath() const = 0;
  // `code` is a code page 932 character: one byte, or lead byte × 256 + trail byte. False when
  // the face cannot render it; `out` is then left empty.
  virtual bool Glyph(uint32_t code, GlyphBitmap& out) = 0;
};

class Glyphs {
 public:
  virtual ~Glyphs() = default;
  // The face by name, or the installed Japanese face that stands in for it; nullptr when no
  // usable face is installed at all.
  virtual std::shared_ptr<Font> OpenFont(const FontRequest& request) = 0;
};

}  // namespace qv::platform
