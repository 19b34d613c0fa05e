// The right-button system menu: its check marks and the commands it runs.
#pragma once

#include "platform/Ui.h"
#include "script/Engine.h"

namespace qv::shell {

// Sets every check mark and greyed state from the settings, then rewrites env.dat; with the
// comforts on, first adds their sub-menu to the end when it is not there yet. Returns 1.
int RefreshMenuChecks(script::Engine& engine, platform::MenuItem& menu);

// Pops the menu up at the click position (frame coordinates, x low, y high 16 bits); a chosen
// item arrives later as a command message. Window thread.
void ShowSystemMenu(script::Engine& engine, platform::MenuItem& menu, uint32_t position);

// Runs menu command `id`; ids without an action do nothing. Window thread.
void RunMenuCommand(script::Engine& engine, platform::MenuItem& menu, uint32_t id);

}  // namespace qv::shell
