// The keyboard and gamepad focus on the on-screen elements (the choice items, the bar's buttons,
// the save and load screens' entries), lit and picked as the pointer lights and clicks them.
// Window thread.
#pragma once

#include "script/Engine.h"

namespace qv::shell {

enum class FocusMove { Up, Down, Left, Right };

// Moves the focus within the elements that react now; a first move lands on the first (down,
// right) or last (up, left) one. Logs "focus choice|bar|slot I". 1 when an element is focused.
int MoveFocus(script::Engine& engine, FocusMove move);

// True when the focus names an element that still reacts; a stale focus is dropped.
bool FocusValid(script::Engine& engine);

// Clicks the focused element at its centre, as the pointer would: 1, or 0 without a focus.
int PickFocus(script::Engine& engine);

}  // namespace qv::shell
