// Laying a masked picture (colour half beside mask half) over a picture with an overall opacity.
#pragma once

#include "core/Surface.h"

namespace qv::graphics {

// Blends the colour half of `sprite` (columns 0 to Width()/2 - 1) over `destination` with its
// top-left pixel at (x, y) in drawing coordinates; the mask half (the next Width()/2 columns)
// masks the colour column it lies beside. A mask pixel with any byte 255 leaves the destination
// untouched; otherwise, with m its blue byte, a = ((255 - m) * opacity) >> 8 and every byte
// becomes (colour * a + destination * (255 - a)) >> 8 — so even an opaque pixel at full opacity
// keeps 1/255 of what was under it. Parts outside the destination are left out. `opacity` is
// taken within 0 to 255. The sprite must not be the destination.
void BlendMaskedSprite(core::Surface& destination, int x, int y, const core::Surface& sprite,
                       int opacity);

}  // namespace qv::graphics
