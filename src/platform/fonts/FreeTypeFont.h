// One face at one size, rendering cached coverage bitmaps through FreeType.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/Cp932.h"
#include "platform/Glyphs.h"
#include "platform/fonts/FontLocator.h"
#include "platform/fonts/FreeTypeLibrary.h"

namespace qv::platform::fonts {

// Sized as the Windows font system sizes a font by its cell height, with the Windows metrics
// (OS/2 winAscent + winDescent) as the cell. Any thread: one mutex guards the face and the cache.
class FreeTypeFont final : public Font {
 public:
  // The bitmaps kept per font; past this, glyphs are still rendered but no longer kept.
  static constexpr size_t kCacheBudgetBytes = 8u << 20;

  // nullptr when the file cannot be opened, is not a scalable face or has no usable metrics.
  // `cp932` must outlive the font.
  static std::unique_ptr<FreeTypeFont> Open(std::shared_ptr<FreeTypeLibrary> library, Cp932& cp932,
                                            const FontFace& face, const FontRequest& request);
  ~FreeTypeFont() override;
  FreeTypeFont(const FreeTypeFont&) = delete;
  FreeTypeFont& operator=(const FreeTypeFont&) = delete;

  int32_t Ascent() const override { return ascent_; }
  std::string FilePath() const override { return path_; }
  bool Glyph(uint32_t code, GlyphBitmap& out) override;

  // The pixels per em the face is rendered at.
  int32_t PixelsPerEm() const { return pixelsPerEm_; }
  // Renders without looking at or filling the cache (what the cache must give back unchanged).
  bool RenderUncached(uint32_t code, GlyphBitmap& out);

 private:
  FreeTypeFont(std::shared_ptr<FreeTypeLibrary> library, Cp932& cp932, FT_Face face);
  bool Render(uint32_t code, GlyphBitmap& out);  // `mutex_` held
  bool ToUnicode(uint32_t code, char32_t& character);

  std::shared_ptr<FreeTypeLibrary> library_;
  Cp932& cp932_;
  FT_Face face_;
  std::string path_;
  int32_t ascent_ = 0;
  int32_t pixelsPerEm_ = 0;
  bool embolden_ = false;
  FT_Pos emboldenStrength_ = 0;

  std::mutex mutex_;
  std::unordered_map<uint32_t, std::optional<GlyphBitmap>> cache_;  // nullopt: cannot render
  size_t cacheBytes_ = 0;
};

}  // namespace qv::platform::fonts
