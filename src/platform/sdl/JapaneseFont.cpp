// Finds a font file for the Japanese user interface (see JapaneseFont.h).
#include "platform/sdl/JapaneseFont.h"

#include "platform/fonts/FontLocator.h"

namespace qv::platform::sdl {

namespace {
// The face the dialogs were designed with; its stand-in is found as the game text's is.
constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";
}  // namespace

FontFile FindJapaneseFont() {
  const auto candidates = fonts::FontLocator().Candidates(kDialogFace, 400);
  if (candidates.empty()) return {};
  return {candidates.front().path, candidates.front().index};
}

}  // namespace qv::platform::sdl
