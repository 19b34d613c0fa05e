// The engine's own window icon, for games that bring none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::resources {

inline constexpr int kEngineIconSize = 32;

// kEngineIconSize x kEngineIconSize pixels, blue-green-red, rows bottom-up, no padding: a white
// speech bubble on a deep blue tile.
std::vector<uint8_t> EngineIcon();

}  // namespace qv::resources
