// The font rasteriser of real and headless play: fontconfig finds the face, FreeType draws it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/Cp932.h"
#include "platform/Glyphs.h"

namespace qv::platform::fonts {

class FontLocator;
struct FreeTypeLibrary;

// Any thread. Opened fonts are kept and handed out again for the same request.
class FreeTypeGlyphs final : public Glyphs {
 public:
  // Larger cells are refused: no text layer asks for them, and their bitmaps would be huge.
  static constexpr int32_t kMaxCellHeight = 1000;

  // `cp932` converts face names and character codes; it must outlive every font handed out.
  explicit FreeTypeGlyphs(Cp932& cp932);
  ~FreeTypeGlyphs() override;
  FreeTypeGlyphs(const FreeTypeGlyphs&) = delete;
  FreeTypeGlyphs& operator=(const FreeTypeGlyphs&) = delete;

  // The named face when it is installed and covers Japanese, else the best installed Japanese
  // stand-in whose file opens; nullptr when there is none or the cell height is not 1 to
  // kMaxCellHeight.
  std::shared_ptr<Font> OpenFont(const FontRequest& request) override;

 private:
  Cp932& cp932_;
  std::shared_ptr<FreeTypeLibrary> library_;
  std::mutex mutex_;
  std::unique_ptr<FontLocator> locator_;  // loaded with the first font
  // By face name, cell height and weight; nullptr remembers that nothing was found.
  std::map<std::tuple<std::string, int32_t, int32_t>, std::shared_ptr<Font>> fonts_;
};

}  // namespace qv::platform::fonts
