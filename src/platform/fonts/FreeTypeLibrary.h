// One FreeType library instance, shared by the faces opened from it.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace qv::platform::fonts {

// FreeType lets faces of one library be used on different threads at once, but opening and
// closing faces changes the library itself: those take `mutex`.
struct FreeTypeLibrary {
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~FreeTypeLibrary() {
    if (library) FT_Done_FreeType(library);
  }
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

  FT_Library library = nullptr;
  std::mutex mutex;
};

}  // namespace qv::platform::fonts
