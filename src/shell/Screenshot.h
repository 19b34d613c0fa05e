// Print Screen: the frame as a PNG file in the save folder, beside what the key always did.
#pragma once

#include "script/Engine.h"

namespace qv::shell {

// Writes the picture the window shows as save/shot-YYYYMMDD-HHMMSS.png (local time), logged as
// "screenshot written" or "screenshot failed". 1 when written. Window thread.
int SaveScreenshot(script::Engine& engine);

}  // namespace qv::shell
