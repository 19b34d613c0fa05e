// Finds a font file that can show the Japanese user interface.
#pragma once

#include <string>

namespace qv::platform::sdl {

struct FontFile {
  std::string path;  // empty when nothing suitable is installed
  int index = 0;     // face index inside a font collection
};

// The installed face that stands in for the dialogs' "ＭＳ Ｐゴシック" (IPAPGothic where it is
// installed), found as the game text's faces are; only a face that covers Japanese. Any thread.
FontFile FindJapaneseFont();

}  // namespace qv::platform::sdl
