// The sample game's pictures, drawn by code: backgrounds, event images, sprites and interface
// parts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::tool {

struct SamplePicture {
  std::string path;  // as the engine names it, with backslashes: "cg\\bg\\sky.bmp"
  std::vector<uint8_t> bytes;
};

// Every picture of the sample for a `width` x `height` frame; the message-window picture takes the
// look of `gameType` (1 framed, otherwise the shaded band). Backgrounds and event images are
// scrambled as the engine reads them; the same arguments always give the same bytes.
std::vector<SamplePicture> SamplePictures(int width, int height, int gameType);

}  // namespace qv::tool
