// The whole-frame pixel passes of the ordered dissolve, the cross-fade and the mask transition.
//
// They work on plain bytes, blue-green-red with rows stored bottom-up, so the transitions and the
// benchmarks call the very same loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/PictureFile.h"

namespace qv::graphics {

// One frame of the 4 x 4 ordered dissolve: copies the pixel at every stored row storedRow + 4i
// and column column + 4j of a width x height picture from `from` into `to` (rows `rowBytes`
// apart in both). Rows and columns up to the picture's edge are all visited, so sixteen frames
// cover every pixel whatever the size.
void CopyDissolveCells(uint8_t* to, const uint8_t* from, size_t rowBytes, int width, int height,
                       int storedRow, int column);

// One frame of the cross-fade: frame[k] = (old[k] * (256 - a) + new[k] * a) >> 8 for `bytes`
// bytes, a from 0 to 256; the result also goes to `copy` (the window's picture) unless it is null.
void CrossFadeBytes(uint8_t* frame, uint8_t* copy, const uint8_t* oldPixels,
                    const uint8_t* newPixels, size_t bytes, int a);

// The mask transition's per-byte shares: for every byte of a width x height frame (rows
// `rowBytes` apart, bottom-up), the red byte of the colour-table entry the mask gives its pixel.
// The mask is laid on the frame by stored rows from the bottom, its own width a row; pixels the
// mask does not reach get 0, as if black.
std::vector<uint8_t> ResolveMaskShares(const MaskPicture& mask, int width, int height,
                                       size_t rowBytes);

// One frame of the mask transition, in place: v = clamp(shares[k] + level, 0, 255) and
// picture[k] = (new[k] * v + picture[k] * (256 - v)) >> 8; also into `copy` unless it is null.
void MaskBlendBytes(uint8_t* picture, uint8_t* copy, const uint8_t* newPixels,
                    const uint8_t* shares, size_t bytes, int level);

}  // namespace qv::graphics
