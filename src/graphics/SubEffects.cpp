// Sub-effects (see SubEffects.h).
#include "graphics/SubEffects.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>

#include "graphics/WindowPicture.h"

namespace qv::graphics {

namespace {

struct Offset {
  int x, y;
};

// Shifted copies of the whole frame that settle towards the middle; what a copy leaves uncovered
// keeps the previous one's pixels, and a last copy at (0, 0) puts the window right.
void Shake(script::Engine& engine) {
  constexpr std::array<Offset, 5> kOffsets = {{{-30, 15}, {25, 12}, {-20, -9}, {15, -6}, {-10, 3}}};
  const core::Surface& screen = engine.view.screenSurface;
  for (const Offset& offset : kOffsets) {
    ShowRect(engine, screen, 0, 0, screen.Width(), screen.Height(), offset.x, offset.y);
    engine.services.platform.clock.sleep(50);
  }
  ShowRect(engine, screen, 0, 0, screen.Width(), screen.Height(), 0, 0);
}

// A 1-pixel line drawn across row 228 in 20-column pieces, a piece per millisecond. Like a pen
// line it never covers its end point, so each piece ends just before the next one starts.
void Line(script::Engine& engine, uint8_t blue, uint8_t green, uint8_t red) {
  constexpr int kRow = 228;
  constexpr int kPiece = 20;
  core::Surface& screen = engine.view.screenSurface;
  const int width = screen.Width();
  int drawnTo = 0;
  for (int x = 0;; x += kPiece) {
    const uint32_t start = engine.services.platform.clock.tickCount();
    const int end = std::min(x, width);
    if (kRow < screen.Height()) {
      // screenSurface changes under the window lock: a repaint may be reading it.
      std::lock_guard lock(engine.view.windowMutex);
      uint8_t* row = screen.Row(kRow);
      for (int c = drawnTo; c < end; ++c) {
        row[3 * c] = blue;
        row[3 * c + 1] = green;
        row[3 * c + 2] = red;
      }
    }
    drawnTo = end;
    ShowRect(engine, screen, 0, kRow, width, 1, 0, kRow);
    engine.services.platform.clock.waitUntilTick(start + 1, platform::WaitStyle::Spin);
    if (x >= width) break;
  }
}

}  // namespace

void RunSubEffect(script::Engine& engine, int number) {
  switch (number) {
    case 1:
      Shake(engine);
      break;
    case 2:
      Line(engine, 0, 0, 255);
      break;
    case 3:
      Line(engine, 255, 255, 255);
      break;
    default:
      return;
  }
  if (engine.services.platform.log.Enabled())
    engine.services.Log("subeffect " + std::to_string(number));
}

}  // namespace qv::graphics
