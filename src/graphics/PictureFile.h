// Picture files: Windows bitmaps checked before use and decoded into surfaces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Surface.h"

namespace qv::graphics {

// What a picture is for decides which forms it may take.
enum class PictureKind {
  Background,     // 24 bits, exactly the frame's size; first 50 bytes scrambled
  Sprite,         // 24 bits, colour half and mask half side by side
  MessageWindow,  // cg\menu\bar_a.bmp: as a sprite
  ButtonParts,    // cg\menu\btnprts.bmp: 24 bits, 1280 x 44
  WaitCursor,     // cg\menu\waitcur.bmp: 24 bits, at least 6144 bytes of pixels
  AreaImage,      // 24 bits, exactly the frame's size
  ChoiceBar,      // 24 bits, as a sprite (word-choice bars)
  Plain,          // any 24-bit picture
};

// The build's background scramble key, applied to the first 50 bytes of a background file.
inline constexpr uint8_t kBackgroundKey = 0x5A;
inline constexpr size_t kScrambledBytes = 50;

// Fixed forms of the interface pictures.
inline constexpr int kButtonPartsWidth = 1280;
inline constexpr int kButtonPartsHeight = 44;
inline constexpr size_t kWaitCursorBytes = 6144;

// No side of a picture may exceed this: it keeps every size computation far from overflow, and a
// header claiming more is damaged rather than ambitious.
inline constexpr int kMaxPictureSide = 16384;

// Undoes (or applies: XOR is its own inverse) the background scramble in place.
void ScrambleBackground(std::span<uint8_t> file);

// A 24-bit picture: `pixels` holds it bottom-up as the file stored it.
struct Picture {
  core::Surface pixels;
  int Width() const { return pixels.Width(); }
  int Height() const { return pixels.Height(); }
};

// An 8-bit mask picture for the mask transition: one colour-table index a pixel, rows bottom-up,
// `width` bytes each, and the red byte of every table entry (entries the table lacks are 0).
struct MaskPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::array<uint8_t, 256> red{};
};

// Checks a whole bitmap file and decodes it: signature, header size (40 or the larger V4/V5
// headers), 1 plane, 24 bits, no compression, bottom-up rows, sane dimensions, pixel offset and
// rows inside the file. `frameWidth` and `frameHeight` are the sizes that kinds of "exactly the
// frame's size" must have. A background must be unscrambled first. On failure, nothing and a
// short reason in `why` (emptied on success).
std::optional<Picture> DecodePicture(std::span<const uint8_t> file, PictureKind kind,
                                     int frameWidth, int frameHeight, std::string& why);

// The same checks for an 8-bit mask with a colour table. The table follows the information header
// and must end before the pixel data; only its first 256 entries can be indexed.
std::optional<MaskPicture> DecodeMask(std::span<const uint8_t> file, std::string& why);

// A 24-bit bottom-up bitmap file of `picture` (54-byte header, rows padded to 4 bytes).
std::vector<uint8_t> EncodeBitmap(const core::Surface& picture);
// An 8-bit bitmap file with a 256-entry grey colour table (index i = grey i) from indices
// stored bottom-up, `width` bytes a row; indices missing from a short span are written as 0.
std::vector<uint8_t> EncodeMask(int width, int height, std::span<const uint8_t> indices);

}  // namespace qv::graphics
