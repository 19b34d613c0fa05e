// Skip mode: every wait passed over and text typed at full speed until a click ends it.
#pragma once

#include "core/EnvSettings.h"
#include "core/InputState.h"
#include "core/InterpreterGate.h"

namespace qv::core {

// On: keeps the message speed aside, types at speed 0 and lets the interpreter go. Off: the
// message speed kept aside comes back. Either thread.
void SetSkipMode(InputState& input, EnvSettings& env, InterpreterGate& gate, bool on);

}  // namespace qv::core
