// The whole-frame pixel passes of the blending transitions (see FrameKernels.h).
#include "graphics/FrameKernels.h"

#include <algorithm>

#include "graphics/PixelLoops.h"

namespace qv::graphics {

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
  if (copy == nullptr) {
    for (size_t k = 0; k < bytes; ++k) {
      const uint16_t was = oldPixels[k];
      frame[k] = static_cast<uint8_t>(
          static_cast<uint16_t>((was << 8) +
                                static_cast<uint16_t>((newPixels[k] - was) * weight)) >>
          8);
    }
    return;
  }
  // Writing the window in the same pass saves reading the frame back for it.
  for (size_t k = 0; k < bytes; ++k) {
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
  if (copy == nullptr) {
    for (size_t k = 0; k < bytes; ++k) picture[k] = blend(k);
    return;
  }
  for (size_t k = 0; k < bytes; ++k) {
    const uint8_t value = blend(k);
    picture[k] = value;
    copy[k] = value;
  }
}

}  // namespace qv::graphics
