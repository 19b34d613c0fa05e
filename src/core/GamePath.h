// A game path made whole: base directory + the script's path, never longer than 259 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/Services.h"

namespace qv::core {

// The game's paths had 260 bytes with their terminating zero.
inline constexpr size_t kMaxPathBytes = 259;

// Base directory + `relative`, or nothing (and a log line) when that would be longer than
// kMaxPathBytes: a cut path could name a different file.
std::optional<std::string> ComposeGamePath(Services& services, std::string_view relative);

}  // namespace qv::core
