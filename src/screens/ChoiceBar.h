// Word-choice bars: a bar that slides in from the right while fading in, with its text in the
// normal look (scene) and the highlighted look (page).
#pragma once

#include <string_view>

#include "core/ChoiceTable.h"
#include "graphics/Presentation.h"

namespace qv::screens {

inline constexpr const char* kChoiceBarPath = "cg\\menu\\menubar.bmp";
// The highlighted text colour as a COLORREF: red 171, green 254, blue 255.
inline constexpr uint32_t kHighlightColour = 171u | (254u << 8) | (255u << 16);

inline constexpr int kBarSlideSteps = 11;
inline constexpr int kBarWidth = 400;
inline constexpr int kBarHeight = 40;

// Draws item `itemIndex` of `choices` (its left and top must be set) with `text`
// (two-byte characters; an odd last byte is not drawn). A bar picture that cannot be used has been
// reported by the loader; the bar is then left out and the text still written. Interpreter
// thread. Returns 1.
int DrawChoiceBar(graphics::Presentation& view, const core::ChoiceTable& choices,
                  std::string_view text, int itemIndex);

}  // namespace qv::screens
