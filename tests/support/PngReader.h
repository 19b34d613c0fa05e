// Test support: reads back the PNG captures the headless runner writes (stored deflate blocks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first, 3 bytes a pixel
  Rgb At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

// Fails the calling test (and returns an empty capture) when the file is not such a PNG.
Capture ReadCapture(const std::string& path);

}  // namespace qv::test
