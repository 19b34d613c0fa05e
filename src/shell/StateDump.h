// The engine's state as JSON, for headless runs and tests.
#pragma once

#include <string>

#include "core/Engine.h"

namespace qv::shell {

std::string StateJson(core::Engine& engine);

// The interpreter waits for the player (a wait code, a stop, a choice) or a modal box is up.
bool HaltedForPlayer(core::Engine& engine);

}  // namespace qv::shell
