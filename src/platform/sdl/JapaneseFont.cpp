// Finds a font file for the Japanese user interface (see JapaneseFont.h).
#include "platform/sdl/JapaneseFont.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>

#include <filesystem>

namespace qv::platform::sdl {

namespace {

constexpr const char* kPreferredFont = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// fontconfig is only needed when IPAGothic is missing, so it is loaded then rather than linked:
// the program runs on systems without it.
class Fontconfig {
 public:
  Fontconfig() : library_(SDL_LoadObject("libfontconfig.so.1")) {
    if (!library_) return;
    loaded_ = Load(initLoadConfigAndFonts_, "FcInitLoadConfigAndFonts") &&
              Load(nameParse_, "FcNameParse") && Load(configSubstitute_, "FcConfigSubstitute") &&
              Load(defaultSubstitute_, "FcDefaultSubstitute") && Load(fontMatch_, "FcFontMatch") &&
              Load(getLangSet_, "FcPatternGetLangSet") && Load(hasLang_, "FcLangSetHasLang") &&
              Load(getString_, "FcPatternGetString") && Load(getInteger_, "FcPatternGetInteger") &&
              Load(destroyPattern_, "FcPatternDestroy") && Load(destroyConfig_, "FcConfigDestroy");
  }
  ~Fontconfig() {
    if (library_) SDL_UnloadObject(library_);
  }
  Fontconfig(const Fontconfig&) = delete;
  Fontconfig& operator=(const Fontconfig&) = delete;

  FontFile MatchJapanese() const {
    if (!loaded_) return {};
    FcConfig* config = initLoadConfigAndFonts_();
    if (!config) return {};
    FontFile found;
    FcPattern* query = nameParse_(reinterpret_cast<const FcChar8*>(":lang=ja"));
    if (query) {
      configSubstitute_(config, query, FcMatchPattern);
      defaultSubstitute_(query);
      FcResult result = FcResultNoMatch;
      FcPattern* match = fontMatch_(config, query, &result);
      // fontconfig answers with its best font even when none knows Japanese; check the answer.
      FcLangSet* languages = nullptr;
      FcChar8* file = nullptr;
      if (match && getLangSet_(match, FC_LANG, 0, &languages) == FcResultMatch &&
          hasLang_(languages, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual &&
          getString_(match, FC_FILE, 0, &file) == FcResultMatch) {
        found.path = reinterpret_cast<const char*>(file);
        int index = 0;
        if (getInteger_(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
      }
      if (match) destroyPattern_(match);
      destroyPattern_(query);
    }
    destroyConfig_(config);
    return found;
  }

 private:
  template <typename Function>
  bool Load(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(SDL_LoadFunction(library_, name));
    return function != nullptr;
  }

  void* library_;
  bool loaded_ = false;
  decltype(&FcInitLoadConfigAndFonts) initLoadConfigAndFonts_ = nullptr;
  decltype(&FcNameParse) nameParse_ = nullptr;
  decltype(&FcConfigSubstitute) configSubstitute_ = nullptr;
  decltype(&FcDefaultSubstitute) defaultSubstitute_ = nullptr;
  decltype(&FcFontMatch) fontMatch_ = nullptr;
  decltype(&FcPatternGetLangSet) getLangSet_ = nullptr;
  decltype(&FcLangSetHasLang) hasLang_ = nullptr;
  decltype(&FcPatternGetString) getString_ = nullptr;
  decltype(&FcPatternGetInteger) getInteger_ = nullptr;
  decltype(&FcPatternDestroy) destroyPattern_ = nullptr;
  decltype(&FcConfigDestroy) destroyConfig_ = nullptr;
};

}  // namespace

FontFile FindJapaneseFont() {
  std::error_code error;
  if (std::filesystem::is_regular_file(kPreferredFont, error)) return {kPreferredFont, 0};
  return Fontconfig().MatchJapanese();
}

}  // namespace qv::platform::sdl
