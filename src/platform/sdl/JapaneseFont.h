// Finds a font file that can show the Japanese user interface.
#pragma once

#include <string>

namespace qv::platform::sdl {

struct FontFile {
  std::string path;  // empty when nothing suitable is installed
  int index = 0;     // face index inside a font collection
};

// IPAGothic where it is installed, otherwise whatever fontconfig offers for Japanese (only if it
// really covers Japanese: fontconfig answers every query with some font). Any thread.
FontFile FindJapaneseFont();

}  // namespace qv::platform::sdl
