// The window's icon: the game's own icon.bmp, or the engine's.
#pragma once

#include "script/Engine.h"

namespace qv::shell {

// Gives the window the picture of the game folder's icon.bmp (24 bits, at most 256 pixels a
// side) or, when the game has none or it cannot be used, the engine's icon. Window thread,
// after the window was created.
void SetWindowIcon(script::Engine& engine);

}  // namespace qv::shell
