// Glyph blending and the paced typing of text lines (see TextOutput.h).
#include "screens/TextOutput.h"

#include <algorithm>

#include "core/TextRules.h"
#include "graphics/Screen.h"

namespace qv::screens {

namespace {

constexpr uint32_t kCursorWaitLimit = 1000;  // 1 ms looks before drawing regardless

// The wait cursor's corner: from (750, 550) to the frame's bottom-right edge.
constexpr int kCursorCornerX = 750;
constexpr int kCursorCornerY = 550;

// The page clear copies the text layer's 800 x 600 frame, or what the surfaces hold of it.
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 600;

void WaitWhileCursorDraws(graphics::Presentation& view) {
  for (uint32_t looks = 0; view.cursorDrawing == 1 && looks <= kCursorWaitLimit; ++looks) {
    view.services.platform.clock.sleep(1);
  }
}

void StartPage(graphics::Presentation& view) {
  auto& g = view;
  g.screen.Put(g.pageSurface, 0, 0, kPageWidth, kPageHeight);
  view.input.newPageRequested = 0;
  view.textPositionY = graphics::Presentation::kTextArea.top;
  view.messageWindowActive = 1;
  view.messageWindowShown = 1;
  if (view.services.platform.log.Enabled()) view.services.Log("page");
}

// Waits out one character's time; false when the return to the title asked output to stop.
bool PaceCharacter(graphics::Presentation& view, uint64_t startMs, int32_t speed) {
  auto& clock = view.services.platform.clock;
  const bool stopped = clock.await([&] { return view.input.abortTextOutput.load() == 1; },
                                   startMs + static_cast<uint32_t>(speed));
  return !stopped;
}

}  // namespace

namespace {

// The glyph onto `onto`, or onto the screen when that is null, under the screen's lock.
void DrawGlyph(graphics::Presentation& view, platform::Font* font, core::Surface* onto, int x,
               int y, const uint8_t* bytes, int byteCount, uint32_t colour) {
  WaitWhileCursorDraws(view);
  if (!font || (onto ? onto->Empty() : view.screen.Empty())) return;
  const uint32_t code = byteCount == 2 ? bytes[0] * 256u + bytes[1] : bytes[0];
  platform::GlyphBitmap glyph;
  if (!font->Glyph(code, glyph)) return;
  const size_t size = glyph.ByteSize();
  if (size == 0 || size >= kMaxGlyphBytes || glyph.coverage.size() < size) return;
  if (glyph.pitch < glyph.blackBoxX) return;

  const int left = x + kNarrowCell - glyph.blackBoxX / 2;
  const int top = y + font->Ascent() - glyph.originY;
  view.screen.Locked(
      [&](core::Surface& shown) { InkGlyph(onto ? *onto : shown, glyph, left, top, colour); });
}

}  // namespace

void InkGlyph(core::Surface& surface, const platform::GlyphBitmap& glyph, int left, int top,
              uint32_t colour) {
  const int textRed = static_cast<int>(colour & 0xFF);
  const int textGreen = static_cast<int>((colour >> 8) & 0xFF);
  const int textBlue = static_cast<int>((colour >> 16) & 0xFF);
  for (int r = 0; r < glyph.blackBoxY; ++r) {
    const int py = top + r;
    if (py < 0 || py >= surface.Height()) continue;
    const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(r) * glyph.pitch;
    uint8_t* row = surface.Row(py);
    for (int c = 0; c < glyph.blackBoxX; ++c) {
      const int v = std::min<int>(coverage[c], 64);  // a broken font cannot overshoot the ramp
      const int px = left + c;
      if (v == 0 || px < 0 || px >= surface.Width()) continue;
      const int opacity = CoverageOpacity(v);
      uint8_t* pixel = row + static_cast<size_t>(px) * 3;
      pixel[0] = BlendChannel(pixel[0], textBlue, opacity);
      pixel[1] = BlendChannel(pixel[1], textGreen, opacity);
      pixel[2] = BlendChannel(pixel[2], textRed, opacity);
    }
  }
}

void RenderGlyph(graphics::Presentation& view, platform::Font* font, core::Surface& surface, int x,
                 int y, const uint8_t* bytes, int byteCount, uint32_t colour) {
  DrawGlyph(view, font, &surface, x, y, bytes, byteCount, colour);
}

void RenderGlyphOnScreen(graphics::Presentation& view, platform::Font* font, int x, int y,
                         const uint8_t* bytes, int byteCount, uint32_t colour) {
  DrawGlyph(view, font, nullptr, x, y, bytes, byteCount, colour);
}

bool NewPageDue(const graphics::Presentation& view) {
  return view.textPositionY >= graphics::Presentation::kTextArea.bottom ||
         view.input.newPageRequested != 0 || view.messageWindowActive == 0;
}

int ShowTextLine(graphics::Presentation& view, std::string_view text) {
  auto& g = view;
  view.input.inputBusy = 1;
  // A return to the title while no line was being typed is not this line's to honour.
  view.input.abortTextOutput = 0;
  if (view.waitCursorOn == 1) {
    g.screen.Put(g.pageSurface, kCursorCornerX, kCursorCornerY, g.screen.Width() - kCursorCornerX,
                 g.screen.Height() - kCursorCornerY);
    view.waitCursorOn = 0;
  }
  if (NewPageDue(view)) StartPage(view);
  if (view.services.platform.log.Enabled()) view.services.Log("text " + view.services.Utf8(text));

  platform::Font* font = g.messageFont.get();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const std::optional<Pen> end = LayOutLine(
      text, {view.textPositionX, view.textPositionY}, [&](const PlacedCharacter& character) {
        view.textPositionX = character.cell.x;
        view.textPositionY = character.cell.y;
        const uint64_t startMs = view.services.platform.clock.nowMs();
        RenderGlyphOnScreen(view, font, character.cell.x, character.cell.y, bytes + character.at,
                            character.count, kWhite);
        view.textPositionX = character.nextX;
        // Read afresh for every character: a change in the menu or skip mode takes effect at
        // once. The page a loaded game replays is drawn at once, without touching the player's
        // setting.
        const int32_t speed =
            view.input.restoringGame == 1 ? 0 : view.services.env.messageSpeed.load();
        if (speed == 0) return true;
        g.screen.ShowScreen();
        return PaceCharacter(view, startMs, speed);
      });
  if (!end) {
    view.input.inputBusy = 0;
    view.input.abortTextOutput = 0;
    return 0;
  }
  g.screen.ShowScreen();
  view.textPositionY = end->y;
  view.textPositionX = end->x;
  view.input.inputBusy = 0;
  return 1;
}

}  // namespace qv::screens
