// Window versus full screen, as the settings' windowed flag asks.
#pragma once

#include "script/Engine.h"

namespace qv::shell {

// Switches to a window (1) or full screen (0). 1 when the mode changed, 0 when the request
// equals the current mode (only the low byte of the request is compared). Window thread.
int SetDisplayMode(script::Engine& engine, int32_t wantWindowed);

// Start-up: applies the stored mode in full, whatever the current one is.
void ApplyStoredDisplayMode(script::Engine& engine);

}  // namespace qv::shell
