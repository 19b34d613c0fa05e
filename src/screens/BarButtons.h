// The four buttons of the message window's button bar and their pressed-look flash.
#pragma once

#include <array>

#include "graphics/Presentation.h"

namespace qv::screens {

enum BarButton { kSkipButton = 0, kSaveButton = 1, kLoadButton = 2, kHideButton = 3 };

// Frame coordinates {left, top, right, bottom}.
inline constexpr std::array<core::Rect, 4> kBarButtonRects{{
    {33, 579, 138, 600},
    {352, 579, 457, 600},
    {493, 579, 597, 600},
    {174, 579, 278, 600},
}};

// The bar lies at (0, 578); each of its two looks in barSurface is 22 rows high.
inline constexpr int kBarTop = 578;
inline constexpr int kBarLookHeight = 22;
inline constexpr int kFlashMs = 70;
inline constexpr const char* kClickSoundPath = "sound\\click.wav";

// Shows button `index`'s pressed look for 70 ms with the click sound, then its normal look.
// Window thread.
void FlashBarButton(graphics::Presentation& view, int index);

}  // namespace qv::screens
