// A small PNG encoder for pictures of the window (stored deflate blocks): the headless runs'
// captures and the player's screenshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::platform {

// Encodes a width × height picture stored as blue-green-red rows, bottom row first, no padding.
std::vector<uint8_t> EncodePng(const uint8_t* bgrBottomUp, int width, int height);

}  // namespace qv::platform
