// What this engine does with a text line beside typing it: read marks, skip mode's stop at an
// unread line, the backlog's history and the text hook.
#pragma once

#include <string_view>

#include "script/Engine.h"

namespace qv::script {

// Called by the interpreter with the line (the name put in) just before typing it, the position
// at the line's end. With skip mode on and "skip read text only" set, a line not read before ends
// skip mode as a click would, so the player reads it at their speed and its wait halts. Nothing
// of this happens with the comforts off, but the text hook, which the player asks for by name.
// Interpreter thread.
void TrackTextLine(script::Engine& engine, std::string_view text);

}  // namespace qv::script
