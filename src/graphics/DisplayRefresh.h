// The display's pace: the frames that have no clock of their own last one refresh each.
#pragma once

#include <cstdint>

#include "graphics/Presentation.h"

namespace qv::graphics {

// Display refreshes happen 60 times a second, at floor(k * 1000 / 60) ms on the engine's clock.
// The first refresh instant after `nowMs`.
uint64_t NextDisplayRefresh(uint64_t nowMs);
// Waits for the next refresh, so that the frame just drawn is on the screen for one refresh
// (on a virtual clock, time moves to that instant). The thread that draws the transition.
void WaitForDisplayRefresh(Presentation& view);

}  // namespace qv::graphics
