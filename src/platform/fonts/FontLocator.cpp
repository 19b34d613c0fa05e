// Finds the installed font files that stand in for a face name (see FontLocator.h).
#include "platform/fonts/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace qv::platform::fonts {

namespace {

// Beyond the named family and its stand-ins, this many of fontconfig's other Japanese faces are
// offered, for when the first ones turn out to be broken files.
constexpr size_t kMaxOtherFaces = 6;

const FcChar8* Bytes(const char* text) {
  return reinterpret_cast<const FcChar8*>(text);
}

// fontconfig answers every query with its best font, even one that has no Japanese at all
// (its answer for "MS Gothic" is DejaVu Sans): every answer is checked.
bool CoversJapanese(FcPattern* font) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
         FcLangSetHasLang(languages, Bytes("ja")) == FcLangEqual;
}

bool HasFamily(FcPattern* font, std::string_view family) {
  FcChar8* name = nullptr;
  for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
    if (SameFamilyName(reinterpret_cast<const char*>(name), family)) return true;
  }
  return false;
}

FontFace Describe(FcPattern* font) {
  FontFace face;
  FcChar8* text = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch) {
    face.path = reinterpret_cast<const char*>(text);
  }
  if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch) {
    face.family = reinterpret_cast<const char*>(text);
  }
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) face.index = index;
  return face;
}

// A query for `family` (none: any family) at `weight`, with the configuration's substitutions.
FcPattern* Query(FcConfig* config, std::string_view family, bool japanese, int weight) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, Bytes(std::string(family).c_str()));
  if (japanese) {
    FcLangSet* languages = FcLangSetCreate();
    FcLangSetAdd(languages, Bytes("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcLangSetDestroy(languages);
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

// The installed face of exactly that family, if it covers Japanese.
FontFace MatchFamily(FcConfig* config, std::string_view family, int weight) {
  FontFace face;
  FcPattern* query = Query(config, family, false, weight);
  if (!query) return face;
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, query, &result);
  if (match && HasFamily(match, family) && CoversJapanese(match)) face = Describe(match);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(query);
  return face;
}

std::vector<FontFace> OtherJapaneseFaces(FcConfig* config, int weight) {
  std::vector<FontFace> faces;
  FcPattern* query = Query(config, {}, true, weight);
  if (!query) return faces;
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(config, query, FcTrue, nullptr, &result);
  if (sorted) {
    for (int i = 0; i < sorted->nfont && faces.size() < kMaxOtherFaces; ++i) {
      if (CoversJapanese(sorted->fonts[i])) faces.push_back(Describe(sorted->fonts[i]));
    }
    FcFontSetDestroy(sorted);
  }
  FcPatternDestroy(query);
  return faces;
}

}  // namespace

struct FontLocator::Config {
  FcConfig* config = nullptr;
};

FontLocator::FontLocator() : config_(std::make_unique<Config>()) {
  config_->config = FcInitLoadConfigAndFonts();
}

FontLocator::~FontLocator() {
  if (config_->config) FcConfigDestroy(config_->config);
}

std::vector<FontFace> FontLocator::Candidates(std::string_view familyUtf8, int weight) const {
  std::vector<FontFace> found;
  FcConfig* const config = config_->config;
  if (!config) return found;
  auto add = [&found](const FontFace& face) {
    if (face.path.empty()) return;
    const bool known = std::any_of(found.begin(), found.end(), [&face](const FontFace& other) {
      return other.path == face.path && other.index == face.index;
    });
    if (!known) found.push_back(face);
  };
  if (!familyUtf8.empty()) add(MatchFamily(config, familyUtf8, weight));
  add(MatchFamily(config, StandInFamily(familyUtf8), weight));
  for (const FontFace& face : OtherJapaneseFaces(config, weight)) add(face);
  return found;
}

}  // namespace qv::platform::fonts
