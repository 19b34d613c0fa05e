// How face names are read, whichever way the fonts are found (see FontLocator.h).
#include "platform/fonts/FontLocator.h"

#include <algorithm>
#include <cctype>

namespace qv::platform::fonts {

namespace {

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

const char* StandInFamily(std::string_view familyUtf8) {
  const bool proportional = NamesProportionalFace(familyUtf8);
  return NamesMinchoFace(familyUtf8) ? (proportional ? "IPAPMincho" : "IPAMincho")
                                     : (proportional ? "IPAPGothic" : "IPAGothic");
}

bool NamesProportionalFace(std::string_view familyUtf8) {
  return Contains(familyUtf8, "Ｐ") || Contains(familyUtf8, "PGothic") ||
         Contains(familyUtf8, "PMincho");
}

bool NamesMinchoFace(std::string_view familyUtf8) {
  std::string lower(familyUtf8);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Contains(familyUtf8, "明朝") || Contains(lower, "mincho");
}

bool SameFamilyName(std::string_view a, std::string_view b) {
  auto normal = [](std::string_view name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
      if (name[i] == ' ') continue;
      if (name.substr(i, 3) == "\xE3\x80\x80") {  // U+3000, the full-width space
        i += 2;
        continue;
      }
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    }
    return out;
  };
  return normal(a) == normal(b);
}

}  // namespace qv::platform::fonts
