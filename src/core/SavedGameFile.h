// Checking a saved game's bytes before they replace the running game.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/ScriptRuntime.h"

namespace qv::core {

// The player's name when none can be read: "晴臣" in code page 932.
inline constexpr std::string_view kDefaultPlayerNameSjis = "\x90\xb0\x90\x62";

// A save file carries no version or checksum, so what can be checked is its shape: exactly the
// record's size, a position inside `script` on a line end or a line start (where the interpreter
// halts for the player), and every text field terminated inside its field. Empty when the bytes
// are a saved game of this script, otherwise why not (for the log).
std::string CheckSavedGame(std::span<const uint8_t> bytes, const ScriptText* script);

}  // namespace qv::core
