// A small PNG encoder for captures of the window's picture (uncompressed deflate blocks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::platform::headless {

// Encodes a width × height picture stored as blue-green-red rows, bottom row first, no padding.
std::vector<uint8_t> EncodePng(const uint8_t* bgrBottomUp, int width, int height);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace qv::platform::headless
