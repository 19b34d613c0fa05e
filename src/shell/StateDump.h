// The engine's state as JSON, for headless runs and tests.
#pragma once

#include <string>

#include "script/Engine.h"

namespace qv::shell {

std::string StateJson(script::Engine& engine);

// The interpreter waits for the player (a wait code, a stop, a choice) or a modal box is up.
bool HaltedForPlayer(script::Engine& engine);

}  // namespace qv::shell
