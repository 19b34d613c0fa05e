// The whole-frame pixel passes of the blending transitions (see FrameKernels.h).
#include "graphics/FrameKernels.h"

#include <algorithm>

#include "graphics/PixelLoops.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace qv::graphics {

#if defined(__wasm_simd128__)
namespace {

// WebAssembly has no byte multiplication, and its compiler widens the byte loops below to 32-bit
// lanes. Here the even and the odd bytes of each 16-bit lane are blended apart, each in place,
// which needs no widening: (was << 8) + (now - was) * weight modulo 2^16, as the loops below.
inline v128_t MixBytes(v128_t was, v128_t now, v128_t weightEven, v128_t weightOdd) {
  const v128_t low = wasm_i16x8_const_splat(0x00FF);
  const v128_t even = wasm_i16x8_add(
      wasm_i16x8_shl(was, 8),
      wasm_i16x8_mul(wasm_i16x8_sub(wasm_v128_and(now, low), wasm_v128_and(was, low)), weightEven));
  const v128_t odd = wasm_i16x8_add(
      wasm_v128_andnot(was, low),
      wasm_i16x8_mul(wasm_i16x8_sub(wasm_u16x8_shr(now, 8), wasm_u16x8_shr(was, 8)), weightOdd));
  return wasm_v128_or(wasm_u16x8_shr(even, 8), wasm_v128_andnot(odd, low));
}

}  // namespace
#endif

void CopyDissolveCells(uint8_t* to, const uint8_t* from, size_t rowBytes, int width, int height,
                       int storedRow, int column) {
  for (int r = storedRow; r < height; r += 4) {
    const size_t row = static_cast<size_t>(r) * rowBytes;
    for (int c = column; c < width; c += 4) {
      const size_t at = row + static_cast<size_t>(c) * 3;
      to[at] = from[at];
      to[at + 1] = from[at + 1];
      to[at + 2] = from[at + 2];
    }
  }
}

// Both blends keep to 16 bits: the true value old * (256 - a) + new * a is at most 65280, so
// (old << 8) + (new - old) * a taken modulo 2^16 is exact and costs one multiplication.
QV_PIXEL_LOOP void CrossFadeBytes(uint8_t* __restrict frame, uint8_t* __restrict copy,
                                  const uint8_t* __restrict oldPixels,
                                  const uint8_t* __restrict newPixels, size_t bytes, int a) {
  const uint16_t weight = static_cast<uint16_t>(a);
  size_t start = 0;
#if defined(__wasm_simd128__)
  const v128_t weights = wasm_i16x8_splat(static_cast<int16_t>(weight));
#pragma clang loop unroll_count(4)
  for (; start + 16 <= bytes; start += 16) {
    const v128_t value = MixBytes(wasm_v128_load(oldPixels + start),
                                  wasm_v128_load(newPixels + start), weights, weights);
    wasm_v128_store(frame + start, value);
    if (copy != nullptr) wasm_v128_store(copy + start, value);
  }
#endif
  if (copy == nullptr) {
    for (size_t k = start; k < bytes; ++k) {
      const uint16_t was = oldPixels[k];
      frame[k] = static_cast<uint8_t>(
          static_cast<uint16_t>((was << 8) +
                                static_cast<uint16_t>((newPixels[k] - was) * weight)) >>
          8);
    }
    return;
  }
  // Writing the window in the same pass saves reading the frame back for it.
  for (size_t k = start; k < bytes; ++k) {
    const uint16_t was = oldPixels[k];
    const uint8_t value = static_cast<uint8_t>(
        static_cast<uint16_t>((was << 8) + static_cast<uint16_t>((newPixels[k] - was) * weight)) >>
        8);
    frame[k] = value;
    copy[k] = value;
  }
}

std::vector<uint8_t> ResolveMaskShares(const MaskPicture& mask, int width, int height,
                                       size_t rowBytes) {
  std::vector<uint8_t> shares(rowBytes * static_cast<size_t>(std::max(height, 0)), 0);
  const int rows = std::min(height, mask.height);
  const int columns = std::min(width, mask.width);
  for (int r = 0; r < rows; ++r) {
    const uint8_t* indices = mask.indices.data() + static_cast<size_t>(r) * mask.width;
    uint8_t* out = shares.data() + static_cast<size_t>(r) * rowBytes;
    for (int c = 0; c < columns; ++c) {
      const uint8_t share = mask.red[indices[c]];
      out[3 * c] = share;
      out[3 * c + 1] = share;
      out[3 * c + 2] = share;
    }
  }
  return shares;
}

QV_PIXEL_LOOP void MaskBlendBytes(uint8_t* __restrict picture, uint8_t* __restrict copy,
                                  const uint8_t* __restrict newPixels,
                                  const uint8_t* __restrict shares, size_t bytes, int level) {
  // The level lies within -256 ... 256, so share + level and the blend fit 16-bit lanes.
  const int16_t offset = static_cast<int16_t>(std::clamp(level, -256, 256));
  auto blend = [&](size_t k) {
    int16_t v = static_cast<int16_t>(shares[k] + offset);
    v = v < 0 ? int16_t{0} : v;
    v = v > 255 ? int16_t{255} : v;
    const uint16_t was = picture[k];
    return static_cast<uint8_t>(
        static_cast<uint16_t>(
            (was << 8) + static_cast<uint16_t>((newPixels[k] - was) * static_cast<uint16_t>(v))) >>
        8);
  };
  size_t start = 0;
#if defined(__wasm_simd128__)
  // share + level clamped to 0 ... 255 is the share raised, then lowered, with byte saturation.
  const v128_t raise = wasm_i8x16_splat(static_cast<int8_t>(std::clamp<int>(offset, 0, 255)));
  const v128_t lower = wasm_i8x16_splat(static_cast<int8_t>(std::clamp<int>(-offset, 0, 255)));
  const v128_t low = wasm_i16x8_const_splat(0x00FF);
#pragma clang loop unroll_count(4)
  for (; start + 16 <= bytes; start += 16) {
    const v128_t v =
        wasm_u8x16_sub_sat(wasm_u8x16_add_sat(wasm_v128_load(shares + start), raise), lower);
    const v128_t value =
        MixBytes(wasm_v128_load(picture + start), wasm_v128_load(newPixels + start),
                 wasm_v128_and(v, low), wasm_u16x8_shr(v, 8));
    wasm_v128_store(picture + start, value);
    if (copy != nullptr) wasm_v128_store(copy + start, value);
  }
#endif
  if (copy == nullptr) {
    for (size_t k = start; k < bytes; ++k) picture[k] = blend(k);
    return;
  }
  for (size_t k = start; k < bytes; ++k) {
    const uint8_t value = blend(k);
    picture[k] = value;
    copy[k] = value;
  }
}

}  // namespace qv::graphics
