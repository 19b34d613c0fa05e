// Sub-effects (see SubEffects.h).
#include "graphics/SubEffects.h"

#include <algorithm>
#include <array>
#include <string>

#include "graphics/Screen.h"

namespace qv::graphics {

namespace {

struct Offset {
  int x, y;
};

// Shifted copies of the whole frame that settle towards the middle; what a copy leaves uncovered
// keeps the previous one's pixels, and a last copy at (0, 0) puts the window right.
void Shake(Presentation& view) {
  constexpr std::array<Offset, 5> kOffsets = {{{-30, 15}, {25, 12}, {-20, -9}, {15, -6}, {-10, 3}}};
  const core::Surface& screen = view.screen.Surface();
  for (const Offset& offset : kOffsets) {
    view.screen.Show(screen, 0, 0, screen.Width(), screen.Height(), offset.x, offset.y);
    view.services.platform.clock.sleep(50);
  }
  view.screen.Show(screen, 0, 0, screen.Width(), screen.Height(), 0, 0);
}

// A 1-pixel line drawn across row 228 in 20-column pieces, a piece per millisecond. Like a pen
// line it never covers its end point, so each piece ends just before the next one starts.
void Line(Presentation& view, uint8_t blue, uint8_t green, uint8_t red) {
  constexpr int kRow = 228;
  constexpr int kPiece = 20;
  const int width = view.screen.Width();
  int drawnTo = 0;
  for (int x = 0;; x += kPiece) {
    const uint32_t start = view.services.platform.clock.tickCount();
    const int end = std::min(x, width);
    if (kRow < view.screen.Height()) {
      // On the surface too, as a repaint puts the surface back.
      view.screen.Locked([&](core::Surface& screen) {
        uint8_t* row = screen.Row(kRow);
        for (int c = drawnTo; c < end; ++c) {
          row[3 * c] = blue;
          row[3 * c + 1] = green;
          row[3 * c + 2] = red;
        }
      });
    }
    drawnTo = end;
    view.screen.ShowScreen(0, kRow, width, 1);
    view.services.platform.clock.waitUntilTick(start + 1, platform::WaitStyle::Spin);
    if (x >= width) break;
  }
}

}  // namespace

void RunSubEffect(Presentation& view, int number) {
  switch (number) {
    case 1:
      Shake(view);
      break;
    case 2:
      Line(view, 0, 0, 255);
      break;
    case 3:
      Line(view, 255, 255, 255);
      break;
    default:
      return;
  }
  if (view.services.platform.log.Enabled())
    view.services.Log("subeffect " + std::to_string(number));
}

}  // namespace qv::graphics
