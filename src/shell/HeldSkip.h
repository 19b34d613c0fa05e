// Skip mode for as long as the player holds Ctrl down.
#pragma once

#include "script/Engine.h"

namespace qv::shell {

// Ctrl went down: where the bar's skip button would turn skip mode on (the game screen, the
// message window shown, not skipping yet), turns it on without the button's flash, as held.
// Window thread.
void StartHeldSkip(script::Engine& engine);

// Ctrl came up: ends skip mode if the held key is still what keeps it on (a click, a list or a
// stop may have ended it meanwhile, and the skip button taken it over). Window thread.
void EndHeldSkip(script::Engine& engine);

}  // namespace qv::shell
