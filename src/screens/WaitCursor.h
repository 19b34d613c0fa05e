// The waiting cursor: two 32 x 32 frames blinking in the bottom-right corner while the
// interpreter waits for a click.
#pragma once

#include "graphics/Presentation.h"

namespace qv::screens {

inline constexpr int kCursorX = 750;
inline constexpr int kCursorY = 551;
inline constexpr int kCursorSize = 32;
inline constexpr size_t kCursorFrameBytes = 3072;

// One tick of the 500 ms timer: erases the last frame, draws the next and shows the corner;
// nothing while waitCursorOn is 0. Window thread. Returns 1.
int AnimateWaitCursor(graphics::Presentation& view);

}  // namespace qv::screens
