// The logo shown once at start-up: revealed in strips from both edges, then held for a while.
#pragma once

#include "graphics/Presentation.h"

namespace qv::screens {

// Relative to the base directory.
inline constexpr const char* kLogoPicturePath = "cg\\menu\\logo.bmp";
inline constexpr const char* kLogoSoundPath = "sound\\logo.wav";

// Blacks the window, then shows the logo picture while its sound plays: 5-pixel strips from the
// left and the right edge meet in the middle (one pair every 7 ms), then the whole picture stays
// up for 150 rounds of 20 ms, which a right-button release cuts short (stopping the sound).
// Input taken during the hold has no other effect; requests from other threads stay queued.
// A missing picture is reported by its path and nothing else is shown: 0; shown: 1.
// Window thread, after the surfaces exist and before the interpreter thread starts.
int ShowLogo(graphics::Presentation& view);

}  // namespace qv::screens
