// The engine's icon (see EngineIcon.h), drawn rather than stored: a few shapes are shorter than
// their pixels.
#include "resources/EngineIcon.h"

namespace qv::resources {

std::vector<uint8_t> EngineIcon() {
  constexpr int n = kEngineIconSize;
  std::vector<uint8_t> pixels(static_cast<size_t>(n) * n * 3);
  for (int y = 0; y < n; ++y) {  // y from the top
    for (int x = 0; x < n; ++x) {
      // The bubble: an ellipse centred at (16, 13), and a tail down to the lower left.
      const int dx = x - 16, dy = y - 13;
      const bool body = dx * dx * 100 + dy * dy * 196 <= 100 * 196;
      const bool tail = y >= 18 && y <= 27 && x >= 7 && x <= 13 && (x - 7) <= (27 - y);
      const bool dot = y == 13 && (x == 10 || x == 16 || x == 22);
      const bool ink = (body || tail) && !dot;  // the dots are holes in the bubble
      uint8_t* p = &pixels[(static_cast<size_t>(n - 1 - y) * n + x) * 3];
      p[0] = ink ? 0xF4 : 0x90;
      p[1] = ink ? 0xF4 : 0x40;
      p[2] = ink ? 0xF4 : 0x20;
    }
  }
  return pixels;
}

}  // namespace qv::resources
