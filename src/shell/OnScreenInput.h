// Clicks and hovers on the on-screen elements: the bar buttons, the choice items and the slots of
// the save and load screens. Window thread.
#pragma once

#include <cstdint>

#include "script/Engine.h"

namespace qv::shell {

inline constexpr const char* kHoverSoundPath = "sound\\move.wav";
// A choice item whose label contains this opens the load screen instead of jumping.
inline constexpr const char* kLoadScreenLabel = "*GameLoad";

// 2 when a bar button took the click, 1 otherwise. Skip and hide take clicks on their edges,
// save and load only strictly inside.
int BarButtonClick(script::Engine& engine, uint32_t position);

// 1 when the click hit a choice item (the interpreter then goes on at its label, or the item's
// own action ran), 0 otherwise. A label that is not in the script closes the program.
int ChoiceClick(script::Engine& engine, uint32_t position);

// Opens the save (10) or load (20, 30) screen over a game that waits for the player; one whose
// pictures cannot be read leaves the player in the game. Returns 1.
int OpenMenuScreen(script::Engine& engine, core::ScreenMode mode);

// A click on the save or load screen: the return button leaves it, a slot saves or loads. 0 when
// a load failed (the screen stays), 1 otherwise.
int SlotClick(script::Engine& engine, uint32_t position);

// Lights up the element under the pointer (with the hover sound once per element entered) and
// puts the others back to their normal look. Returns 1.
int HandleHover(script::Engine& engine, uint32_t position);

}  // namespace qv::shell
