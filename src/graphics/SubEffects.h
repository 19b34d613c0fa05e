// Sub-effects: a screen shake and a line across the screen, played on the picture already shown.
#pragma once

#include "graphics/Presentation.h"

namespace qv::graphics {

// Plays sub-effect `number` and logs "subeffect N": 1 shakes the window, 2 draws a red and 3 a
// white line across row 228 of the screen (it stays there until the screen is next
// replaced). Any other number does nothing. No flag is touched. Interpreter thread.
void RunSubEffect(Presentation& view, int number);

}  // namespace qv::graphics
