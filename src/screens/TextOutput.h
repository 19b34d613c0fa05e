// The message text: glyphs blended into a surface, and script lines typed into the message window.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/Surface.h"
#include "core/TextRules.h"
#include "graphics/Presentation.h"
#include "platform/Glyphs.h"

namespace qv::screens {

// A Win32 COLORREF: red in the low byte, then green, then blue.
inline constexpr uint32_t kWhite = 0xFFFFFF;

// Pixels one glyph cell and one text row take.
inline constexpr int kWideCell = 20;
inline constexpr int kNarrowCell = 10;
inline constexpr int kRowHeight = 27;

// Glyph bitmaps of this size or more are not drawn.
inline constexpr size_t kMaxGlyphBytes = 2000;

// Opacity of coverage v (0..64): v x 255 / 65, so full coverage is 251, not 255.
constexpr int CoverageOpacity(int v) {
  return v * 255 / 65;
}

// One blended channel: (old x (255 - L) + text x L) >> 8.
constexpr uint8_t BlendChannel(int old, int text, int opacity) {
  return static_cast<uint8_t>((old * (255 - opacity) + text * opacity) >> 8);
}

// Blends `glyph`'s coverage in `colour` (0x00BBGGRR) onto `surface` with its black box's top-left
// at (left, top); only inked pixels inside the surface are touched. The caller holds the screen's
// lock when the window thread may be reading `surface`.
void InkGlyph(core::Surface& surface, const platform::GlyphBitmap& glyph, int left, int top,
              uint32_t colour);

// Draws the character `bytes[0..byteCount)` (1 byte, or a 2-byte Shift-JIS character) of `font`
// onto `surface`, centred on x + 10 of the cell whose top-left is (x, y), baseline at y + ascent.
// Only inked pixels inside the surface are touched. Takes the screen's lock, so the window thread
// never shows half a glyph; waits (at most about a second) while the wait cursor is being drawn.
void RenderGlyph(graphics::Presentation& view, platform::Font* font, core::Surface& surface, int x,
                 int y, const uint8_t* bytes, int byteCount, uint32_t colour);
// The same onto the screen itself.
void RenderGlyphOnScreen(graphics::Presentation& view, platform::Font* font, int x, int y,
                         const uint8_t* bytes, int byteCount, uint32_t colour);

// The message window's pen: the top-left of the next character's cell.
struct Pen {
  int x;
  int y;
};

// One character of a line where the message window puts it: its bytes, its cell's top-left and
// the pen's x after it, before any wrap.
struct PlacedCharacter {
  size_t at;
  int count;
  Pen cell;
  int nextX;
};

// Lays `text` out from `pen` as the message window types it: a cell per character (narrow for a
// single byte, wide for a Shift-JIS pair), on to the next row once past the text area's right
// edge. `place(character)` runs for each in turn; its false stops the layout (nothing returned).
// Returns the pen after the last character, the row below it for the next line.
template <typename Place>
std::optional<Pen> LayOutLine(std::string_view text, Pen pen, Place&& place) {
  constexpr core::Rect area = graphics::Presentation::kTextArea;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  for (size_t i = 0; i < text.size();) {
    const int count = core::IsSjisLeadByte(bytes[i]) && i + 1 < text.size() ? 2 : 1;
    const PlacedCharacter character{i, count, pen, pen.x + (count == 1 ? kNarrowCell : kWideCell)};
    if (!place(character)) return std::nullopt;
    i += static_cast<size_t>(count);
    pen.x = character.nextX;
    if (pen.x > area.right) pen = {area.left, pen.y + kRowHeight};
  }
  return Pen{area.left, pen.y + kRowHeight};
}

// Whether the next line starts a page: one was asked for ($P), the window is full, or it is not
// the active one.
bool NewPageDue(const graphics::Presentation& view);

// Types one text line (the name already put in) into the message window at the pen, starting a
// new page first when one is due. Interpreter thread. Returns 1 when the line was output in full,
// 0 when the return to the title cut it short.
int ShowTextLine(graphics::Presentation& view, std::string_view text);

}  // namespace qv::screens
