// The blinking waiting cursor (see WaitCursor.h).
#include "screens/WaitCursor.h"

#include "graphics/Screen.h"

namespace qv::screens {

namespace {

constexpr int kEraseY = 550;
constexpr int kEraseHeight = 33;
constexpr size_t kCursorRowBytes = 96;

// Pure green (blue 0, green 255, red 0) lets the picture below show through.
bool Transparent(const uint8_t* bgr) {
  return bgr[0] == 0 && bgr[1] == 255 && bgr[2] == 0;
}

}  // namespace

int AnimateWaitCursor(graphics::Presentation& view) {
  if (view.waitCursorOn != 1) return 1;
  auto& g = view;
  if (g.screen.Empty()) return 1;
  view.cursorDrawing = 1;
  g.screen.Locked([&](core::Surface& shown) {
    const core::Surface& under = view.messageWindowActive == 1 ? g.pageSurface : g.sceneSurface;
    core::CopyRect(shown, kCursorX, kEraseY, under, kCursorX, kEraseY, kCursorSize, kEraseHeight);
    if (g.waitCursorPixels.size() < 2 * kCursorFrameBytes) return;
    const uint8_t* frame = g.waitCursorPixels.data() + view.waitCursorFrame;
    // Stored rows run bottom-up: the first lands on the frame's lowest row.
    for (int r = 0; r < kCursorSize; ++r) {
      const int y = kCursorY + kCursorSize - 1 - r;
      if (y < 0 || y >= shown.Height()) continue;
      const uint8_t* source = frame + static_cast<size_t>(r) * kCursorRowBytes;
      uint8_t* row = shown.Row(y);
      for (int c = 0; c < kCursorSize; ++c) {
        const int x = kCursorX + c;
        if (x >= shown.Width() || Transparent(source + c * 3)) continue;
        std::copy_n(source + c * 3, 3, row + static_cast<size_t>(x) * 3);
      }
    }
  });
  view.waitCursorFrame = (view.waitCursorFrame + kCursorFrameBytes) % (2 * kCursorFrameBytes);
  g.screen.ShowScreen(kCursorX, kEraseY, g.screen.Width() - kCursorX, g.screen.Height() - kEraseY);
  view.cursorDrawing = 0;
  return 1;
}

}  // namespace qv::screens
