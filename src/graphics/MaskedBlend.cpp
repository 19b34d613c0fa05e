// Laying a masked picture over a picture (see MaskedBlend.h).
#include "graphics/MaskedBlend.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "graphics/PixelLoops.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
// A call is not inlined when the program runs, and one per block costs as much as the block.
#define QV_INLINE_BLOCK __attribute__((always_inline))
#else
#define QV_INLINE_BLOCK
#endif

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

[[maybe_unused]] inline uint8_t Larger(uint8_t a, uint8_t b) {
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
                        const uint8_t* __restrict m) QV_INLINE_BLOCK {
#if defined(__wasm_simd128__)
    // The same steps, 16 bytes at a time: WebAssembly's compiler widens the loop below to 32-bit
    // lanes, so the even and odd bytes of each 16-bit lane are blended apart, each in place.
    const v128_t low = wasm_i16x8_const_splat(0x00FF);
    auto channel = [](const std::array<uint8_t, kBlockBytes>& masks, int k) {
      return wasm_v128_load(masks.data() + k);
    };
    // `shares` takes blue | full, where full marks the bytes left alone, and gives the even and
    // the odd bytes' (clear * weight) >> 8.
    auto vectors = [&](auto shares) QV_INLINE_BLOCK {
#pragma clang loop unroll(full)
      for (int k = 0; k < kBlockBytes; k += 16) {
        const v128_t back2 = wasm_v128_load(m + k - 2), back1 = wasm_v128_load(m + k - 1),
                     here = wasm_v128_load(m + k), next1 = wasm_v128_load(m + k + 1),
                     next2 = wasm_v128_load(m + k + 2);
        const v128_t red = channel(kChannel.red, k);
        const v128_t blue =
            wasm_v128_or(wasm_v128_or(wasm_v128_and(here, channel(kChannel.blue, k)),
                                      wasm_v128_and(back1, channel(kChannel.green, k))),
                         wasm_v128_and(back2, red));
        const v128_t largest = wasm_u8x16_max(
            wasm_u8x16_max(wasm_u8x16_max(here, wasm_v128_and(next1, channel(kChannel.notRed, k))),
                           wasm_u8x16_max(wasm_v128_and(next2, channel(kChannel.blue, k)),
                                          wasm_v128_and(back1, channel(kChannel.notBlue, k)))),
            wasm_v128_and(back2, red));
        const v128_t full = wasm_i8x16_eq(largest, wasm_i8x16_const_splat(-1));
        const auto [aEven, aOdd] = shares(wasm_v128_or(blue, full));
        const v128_t under = wasm_v128_load(d + k), over = wasm_v128_load(c + k);
        const v128_t kept = wasm_v128_andnot(under, full);
        const v128_t even = wasm_i16x8_add(
            wasm_i16x8_sub(wasm_i16x8_shl(under, 8), wasm_v128_and(kept, low)),
            wasm_i16x8_mul(wasm_i16x8_sub(wasm_v128_and(over, low), wasm_v128_and(under, low)),
                           aEven));
        const v128_t odd = wasm_i16x8_add(
            wasm_i16x8_sub(wasm_v128_andnot(under, low), wasm_u16x8_shr(kept, 8)),
            wasm_i16x8_mul(wasm_i16x8_sub(wasm_u16x8_shr(over, 8), wasm_u16x8_shr(under, 8)),
                           aOdd));
        wasm_v128_store(d + k, wasm_v128_or(wasm_u16x8_shr(even, 8), wasm_v128_andnot(odd, low)));
      }
    };
    struct Shares {
      v128_t even, odd;
    };
    if (weight == 255) {
      // (clear * 255) >> 8 is clear - 1 down to 0, which is 254 - (blue | full) down to 0.
      vectors([low](v128_t taken) QV_INLINE_BLOCK {
        const v128_t a = wasm_u8x16_sub_sat(wasm_i8x16_const_splat(-2), taken);
        return Shares{wasm_v128_and(a, low), wasm_u16x8_shr(a, 8)};
      });
    } else {
      const v128_t weights = wasm_i16x8_splat(static_cast<int16_t>(weight));
      vectors([low, weights](v128_t taken) QV_INLINE_BLOCK {
        return Shares{
            wasm_u16x8_shr(wasm_i16x8_mul(wasm_v128_andnot(low, taken), weights), 8),
            wasm_u16x8_shr(wasm_i16x8_mul(wasm_v128_andnot(low, wasm_u16x8_shr(taken, 8)), weights),
                           8)};
      });
    }
#else
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
#endif
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
