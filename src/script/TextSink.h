// Where text lines go: the message window's text output.
#pragma once

#include <string_view>

#include "core/Engine.h"

namespace qv::script {

// Outputs one text line (after the name was put in). Interpreter thread. Returns 1 when the line
// was output in full, 0 when the return to the title cut it short.
int ShowTextLine(core::Engine& engine, std::string_view line);

}  // namespace qv::script
