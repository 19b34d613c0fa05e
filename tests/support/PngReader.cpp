// Test support: reads back the runner's PNG captures (see PngReader.h).
#include "support/PngReader.h"

#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

namespace qv::test {

namespace {
uint32_t Be32(const std::string& s, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 8 |
         static_cast<uint8_t>(s[at + 3]);
}
}  // namespace

Capture ReadCapture(const std::string& path) {
  Capture capture;
  std::string png = ReadFile(path);
  if (png.size() < 33 || png.compare(1, 3, "PNG") != 0) {
    ADD_FAILURE() << path << " is not a PNG";
    return capture;
  }
  capture.width = static_cast<int>(Be32(png, 16));
  capture.height = static_cast<int>(Be32(png, 20));
  std::string zlib;
  for (size_t at = 8; at + 8 <= png.size();) {
    uint32_t length = Be32(png, at);
    if (png.compare(at + 4, 4, "IDAT") == 0) zlib += png.substr(at + 8, length);
    at += 12 + length;
  }
  std::string raw;
  for (size_t at = 2; at + 5 <= zlib.size();) {
    bool last = zlib[at] & 1;
    size_t n = static_cast<uint8_t>(zlib[at + 1]) | static_cast<uint8_t>(zlib[at + 2]) << 8;
    raw += zlib.substr(at + 5, n);
    at += 5 + n;
    if (last) break;
  }
  const size_t row = static_cast<size_t>(capture.width) * 3;
  if (raw.size() != (row + 1) * static_cast<size_t>(capture.height)) {
    ADD_FAILURE() << path << ": unexpected image data size";
    return Capture{};
  }
  for (int y = 0; y < capture.height; ++y) {
    capture.rgb.insert(capture.rgb.end(), raw.begin() + static_cast<long>(y * (row + 1) + 1),
                       raw.begin() + static_cast<long>((y + 1) * (row + 1)));
  }
  return capture;
}

}  // namespace qv::test
