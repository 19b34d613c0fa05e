// One face at one size, rendering cached coverage bitmaps through FreeType (see FreeTypeFont.h).
#include "platform/fonts/FreeTypeFont.h"

#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

namespace qv::platform::fonts {

namespace {

// The cell the Windows font system sizes a font by, in font units: OS/2 winAscent and winDescent,
// or the horizontal header's ascender and descender for a font without them.
void CellMetrics(FT_Face face, int64_t& ascent, int64_t& descent) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
    return;
  }
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (hhea && hhea->Ascender - hhea->Descender > 0) {
    ascent = hhea->Ascender;
    descent = -hhea->Descender;
    return;
  }
  ascent = face->ascender;
  descent = -face->descender;
}

// Decodes `utf8` when it holds exactly one character.
bool SingleCharacter(const std::string& utf8, char32_t& character) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t size = utf8.size();
  if (size == 0) return false;
  size_t length = 1;
  char32_t value = bytes[0];
  if (bytes[0] >= 0xF0) {
    length = 4;
    value = bytes[0] & 0x07;
  } else if (bytes[0] >= 0xE0) {
    length = 3;
    value = bytes[0] & 0x0F;
  } else if (bytes[0] >= 0xC0) {
    length = 2;
    value = bytes[0] & 0x1F;
  } else if (bytes[0] >= 0x80) {
    return false;
  }
  if (size != length) return false;
  for (size_t i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return false;
    value = (value << 6) | (bytes[i] & 0x3F);
  }
  character = value;
  return true;
}

}  // namespace

std::unique_ptr<FreeTypeFont> FreeTypeFont::Open(std::shared_ptr<FreeTypeLibrary> library,
                                                 Cp932& cp932, const FontFace& face,
                                                 const FontRequest& request) {
  if (!library || !library->library || request.cellHeight <= 0) return nullptr;
  FT_Face opened = nullptr;
  {
    std::lock_guard<std::mutex> lock(library->mutex);
    if (FT_New_Face(library->library, face.path.c_str(), face.index, &opened) != 0) return nullptr;
  }
  std::unique_ptr<FreeTypeFont> font(new FreeTypeFont(std::move(library), cp932, opened));
  font->path_ = face.path;
  if (!FT_IS_SCALABLE(opened) || opened->units_per_EM == 0) return nullptr;
  if (FT_Select_Charmap(opened, FT_ENCODING_UNICODE) != 0) return nullptr;

  int64_t cellAscent = 0;
  int64_t cellDescent = 0;
  CellMetrics(opened, cellAscent, cellDescent);
  const int64_t cell = cellAscent + cellDescent;
  if (cellAscent <= 0 || cellDescent < 0) return nullptr;
  // Hinting works on whole pixels per em, as in the Windows font system.
  const int64_t unitsPerEm = opened->units_per_EM;
  const int64_t pixelsPerEm =
      std::max<int64_t>(1, (int64_t{request.cellHeight} * unitsPerEm + cell / 2) / cell);
  if (pixelsPerEm > 0xFFFF) return nullptr;
  if (FT_Set_Pixel_Sizes(opened, 0, static_cast<FT_UInt>(pixelsPerEm)) != 0) return nullptr;
  font->pixelsPerEm_ = static_cast<int32_t>(pixelsPerEm);
  font->ascent_ = static_cast<int32_t>((cellAscent * pixelsPerEm + unitsPerEm / 2) / unitsPerEm);

  // A bold request on a face without a bold of its own: thicken the outlines.
  font->embolden_ = request.weight >= 600 && (opened->style_flags & FT_STYLE_FLAG_BOLD) == 0;
  font->emboldenStrength_ = FT_MulFix(opened->units_per_EM, opened->size->metrics.y_scale) / 24;
  return font;
}

FreeTypeFont::FreeTypeFont(std::shared_ptr<FreeTypeLibrary> library, Cp932& cp932, FT_Face face)
    : library_(std::move(library)), cp932_(cp932), face_(face) {}

FreeTypeFont::~FreeTypeFont() {
  std::lock_guard<std::mutex> lock(library_->mutex);
  FT_Done_Face(face_);
}

bool FreeTypeFont::Glyph(uint32_t code, GlyphBitmap& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto cached = cache_.find(code); cached != cache_.end()) {
    out = cached->second.value_or(GlyphBitmap{});
    return cached->second.has_value();
  }
  const bool rendered = Render(code, out);
  const size_t size = sizeof(GlyphBitmap) + out.coverage.size();
  if (cacheBytes_ + size <= kCacheBudgetBytes) {
    cache_.emplace(code, rendered ? std::optional<GlyphBitmap>(out) : std::nullopt);
    cacheBytes_ += size;
  }
  return rendered;
}

bool FreeTypeFont::RenderUncached(uint32_t code, GlyphBitmap& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Render(code, out);
}

bool FreeTypeFont::ToUnicode(uint32_t code, char32_t& character) {
  if (code > 0xFFFF) return false;
  std::string bytes;
  if (code > 0xFF) bytes += static_cast<char>(code >> 8);
  bytes += static_cast<char>(code & 0xFF);
  // A code that is not one code page 932 character comes back as U+FFFD or as two characters.
  return SingleCharacter(cp932_.ToUtf8(bytes), character) && character != 0xFFFD;
}

bool FreeTypeFont::Render(uint32_t code, GlyphBitmap& out) {
  out = GlyphBitmap{};
  char32_t character = 0;
  if (!ToUnicode(code, character)) return false;
  const FT_UInt index = FT_Get_Char_Index(face_, character);
  if (index == 0) return false;  // the face has no such glyph
  if (FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP) != 0) return false;
  FT_GlyphSlot slot = face_->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (embolden_ && FT_Outline_Embolden(&slot->outline, emboldenStrength_) != 0) return false;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;

  // Text laid out by the pen (the slot list) steps by whole pixels, as the Windows text output
  // does.
  out.advanceX = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.width == 0 || bitmap.rows == 0) return true;  // no ink: a space
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || !bitmap.buffer || bitmap.num_grays < 2) {
    return false;
  }
  const int32_t width = static_cast<int32_t>(bitmap.width);
  const int32_t rows = static_cast<int32_t>(bitmap.rows);
  out.blackBoxX = width;
  out.blackBoxY = rows;
  out.pitch = (width + 3) & ~3;
  out.originX = slot->bitmap_left;
  out.originY = slot->bitmap_top;
  out.coverage.assign(static_cast<size_t>(out.pitch) * static_cast<size_t>(rows), 0);
  // A negative pitch means the rows are stored bottom-up; the pitch still steps one row down.
  const unsigned char* top = bitmap.pitch >= 0
                                 ? bitmap.buffer
                                 : bitmap.buffer + static_cast<ptrdiff_t>(rows - 1) * -bitmap.pitch;
  const uint32_t full = static_cast<uint32_t>(bitmap.num_grays - 1);
  for (int32_t row = 0; row < rows; ++row) {
    const unsigned char* from = top + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    uint8_t* to = out.coverage.data() + static_cast<size_t>(row) * static_cast<size_t>(out.pitch);
    for (int32_t column = 0; column < width; ++column) {
      const uint32_t value = std::min<uint32_t>(from[column], full);
      to[column] = static_cast<uint8_t>((value * 64 + full / 2) / full);
    }
  }
  return true;
}

}  // namespace qv::platform::fonts
