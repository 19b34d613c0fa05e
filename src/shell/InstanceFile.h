// The instance file (*.ist): which game this is, its window and its music source.
#pragma once

#include <string_view>

#include "script/Engine.h"

namespace qv::shell {

// Extracts the six keys from the bytes of an instance file. Keys missing from the file get
// their defaults.
core::InstanceConfig ParseInstanceFile(std::string_view bytes);

// Reads the first "*.ist" of the game folder into engine.services.config. With none (or an
// unreadable one), config.found stays false and every key takes its default.
void ReadInstanceFile(script::Engine& engine);

}  // namespace qv::shell
