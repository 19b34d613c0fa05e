// Laying a masked picture over a picture (see MaskedBlend.h).
#include "graphics/MaskedBlend.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "graphics/PixelLoops.h"

namespace qv::graphics {

namespace {

// Rows are blended in blocks of 32 pixels (96 bytes): a whole number of 16-, 32- and 64-byte
// vectors, so each block becomes straight vector code.
constexpr int kBlockPixels = 32;
constexpr int kBlockBytes = kBlockPixels * 3;

// Byte k of a block is channel k % 3 of its pixel. With these masks every byte reaches its pixel's
// blue byte and the pixel's other bytes through neighbour loads at k - 2 ... k + 2, so the loop
// works byte by byte with no shuffles, which even the baseline vector unit can do.
struct ChannelMasks {
  std::array<uint8_t, kBlockBytes> blue{}, green{}, red{}, notBlue{}, notRed{};
};

constexpr ChannelMasks MakeChannelMasks() {
  ChannelMasks masks;
  for (int k = 0; k < kBlockBytes; ++k) {
    masks.blue[k] = k % 3 == 0 ? 0xFF : 0;
    masks.green[k] = k % 3 == 1 ? 0xFF : 0;
    masks.red[k] = k % 3 == 2 ? 0xFF : 0;
    masks.notBlue[k] = static_cast<uint8_t>(~masks.blue[k]);
    masks.notRed[k] = static_cast<uint8_t>(~masks.red[k]);
  }
  return masks;
}

constexpr ChannelMasks kChannel = MakeChannelMasks();

inline uint8_t Larger(uint8_t a, uint8_t b) {
  return a > b ? a : b;
}

// `count` pixels of one row. The two bytes before `mask` must be readable (the colour half or
// the previous mask pixel lies there); nothing past the row's last mask byte is read.
QV_PIXEL_LOOP void BlendRow(uint8_t* __restrict destination, const uint8_t* __restrict colour,
                            const uint8_t* __restrict mask, int count, int opacity) {
  // Everything fits 16 bits: (255 - m) * opacity <= 65025, and colour * a + d * (255 - a)
  // <= 65025 equals (d << 8) - d + (colour - d) * a taken modulo 2^16, which needs one
  // multiplication instead of two.
  const uint16_t weight = static_cast<uint16_t>(opacity);
  // 32 pixels; `m` must have two readable bytes on either side.
  auto block = [weight](uint8_t* __restrict d, const uint8_t* __restrict c,
                        const uint8_t* __restrict m) {
    for (int k = 0; k < kBlockBytes; ++k) {
      const uint8_t back2 = m[k - 2], back1 = m[k - 1], here = m[k], next1 = m[k + 1],
                    next2 = m[k + 2];
      const uint8_t blue = static_cast<uint8_t>(
          (here & kChannel.blue[k]) | (back1 & kChannel.green[k]) | (back2 & kChannel.red[k]));
      // The largest of the pixel's three bytes is 255 exactly when one of them is.
      const uint8_t largest =
          Larger(Larger(Larger(here, next1 & kChannel.notRed[k]),
                        Larger(next2 & kChannel.blue[k], back1 & kChannel.notBlue[k])),
                 back2 & kChannel.red[k]);
      const uint8_t keep = largest == 255 ? 0 : 0xFF;
      const uint16_t clear = static_cast<uint8_t>((255 - blue) & keep);
      const uint16_t a = static_cast<uint16_t>(static_cast<uint16_t>(clear * weight) >> 8);
      const uint16_t under = d[k];
      const uint16_t sum = static_cast<uint16_t>((under << 8) - (under & keep) +
                                                 static_cast<uint16_t>((c[k] - under) * a));
      d[k] = static_cast<uint8_t>(sum >> 8);
    }
  };
  int j = 0;
  // A block is taken in place only while another pixel follows it, so its reads stay in the row.
  for (; j + kBlockPixels < count; j += kBlockPixels) {
    block(destination + 3 * j, colour + 3 * j, mask + 3 * j);
  }
  // The last 1 to 32 pixels go through a padded copy; the padding is transparent mask.
  const size_t rest = static_cast<size_t>(count - j) * 3;
  uint8_t d[kBlockBytes] = {}, c[kBlockBytes] = {}, m[kBlockBytes + 4];
  std::memset(m, 255, sizeof m);
  std::memcpy(d, destination + 3 * j, rest);
  std::memcpy(c, colour + 3 * j, rest);
  std::memcpy(m, mask + 3 * j - 2, rest + 2);
  block(d, c, m + 2);
  std::memcpy(destination + 3 * j, d, rest);
}

}  // namespace

void BlendMaskedSprite(core::Surface& destination, int x, int y, const core::Surface& sprite,
                       int opacity) {
  const int half = sprite.Width() / 2;
  if (sprite.Height() < 1 || half <= 0 || destination.Empty()) return;
  opacity = std::clamp(opacity, 0, 255);
  // Clipped once: the same columns are visible on every row. In 64 bits, since a position read
  // from a save file may be anything a 32-bit integer holds.
  const int64_t x64 = x, y64 = y;
  const int first = static_cast<int>(std::clamp<int64_t>(-x64, 0, half));
  const int end = static_cast<int>(std::clamp<int64_t>(destination.Width() - x64, 0, half));
  if (first >= end) return;
  const int rowFirst = static_cast<int>(std::clamp<int64_t>(-y64, 0, sprite.Height()));
  const int rowEnd =
      static_cast<int>(std::clamp<int64_t>(destination.Height() - y64, 0, sprite.Height()));
  for (int i = rowFirst; i < rowEnd; ++i) {
    const uint8_t* colour = sprite.Row(i) + 3 * first;
    BlendRow(destination.Row(y + i) + 3 * (x + first), colour, colour + 3 * half, end - first,
             opacity);
  }
}

}  // namespace qv::graphics
