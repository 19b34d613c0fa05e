// What this engine adds to the original's input: key presses, the wheel and gamepads, the
// backlog's keys, held Ctrl and the keyboard focus. Window thread.
#pragma once

#include "platform/Message.h"
#include "platform/Ui.h"
#include "script/Engine.h"

namespace qv::shell {

// Takes `message` when one of the additions handles it (true): the window procedure then leaves
// it alone. Everything the original reacts to keeps its meaning unless a row here says
// otherwise. Only called when the additions are on.
bool HandlePlayerInput(script::Engine& engine, platform::MenuItem& menu,
                       const platform::Message& message);

// The right button's release: auto mode ends and the system menu opens at `position`.
void RightClick(script::Engine& engine, platform::MenuItem& menu, uint32_t position);

}  // namespace qv::shell
