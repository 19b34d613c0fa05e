// Finds the font files that stand in for a face name: the installed ones through fontconfig, or
// in the web build (FolderFontLocator.cpp) those shipped in a folder beside the program.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform::fonts {

struct FontFace {
  std::string path;  // the font file
  int index = 0;     // face index inside a font collection
  std::string family;
};

// Any thread: fontconfig's matching is safe to call concurrently on one configuration, and the
// folder's list is read once, when the locator is made.
class FontLocator {
 public:
  // Loads fontconfig's configuration and font list (tens of milliseconds), or opens every font
  // of the folder: keep one.
  FontLocator();
  ~FontLocator();
  FontLocator(const FontLocator&) = delete;
  FontLocator& operator=(const FontLocator&) = delete;

  // Faces that can show Japanese, best first: the named family itself when it is installed,
  // then the installed Japanese faces that stand in for it (a proportional one first for a
  // proportional name such as "ＭＳ Ｐゴシック", a mincho one for a mincho name). Empty when no
  // installed font covers Japanese. `weight` is the requested weight (400 normal, 700 bold).
  std::vector<FontFace> Candidates(std::string_view familyUtf8, int weight) const;

 private:
  struct Config;
  std::unique_ptr<Config> config_;
};

// The Japanese face most systems have in the style the name asks for ("IPAPGothic" for
// "ＭＳ Ｐゴシック", "IPAMincho" for "ＭＳ 明朝").
const char* StandInFamily(std::string_view familyUtf8);
// True when the face name asks for a proportional face ("ＭＳ Ｐゴシック", "MS PGothic").
bool NamesProportionalFace(std::string_view familyUtf8);
// True when the face name asks for a serif (mincho) face ("ＭＳ 明朝", "MS Mincho").
bool NamesMinchoFace(std::string_view familyUtf8);
// Family names compared as Windows users write them: ASCII case, ASCII spaces and full-width
// spaces do not count ("ＭＳ　ゴシック" names the same face as "ＭＳ ゴシック").
bool SameFamilyName(std::string_view a, std::string_view b);

}  // namespace qv::platform::fonts
