// The screen and drawing on the window's picture (see Screen.h).
#include "graphics/Screen.h"

#include <algorithm>
#include <cstring>

namespace qv::graphics {

void Screen::Create(int width, int height) {
  surface_.Create(width, height);
}

void Screen::Release() {
  surface_.Release();
}

void Screen::Put(int x, int y, const core::Surface& source, int sx, int sy, int w, int h) {
  std::lock_guard lock(mutex_);
  core::CopyRect(surface_, x, y, source, sx, sy, w, h);
}

void Screen::Show(const core::Surface& source, int sx, int sy, int w, int h, int dx, int dy) {
  Canvas(*this).Copy(source, sx, sy, w, h, dx, dy);
}

void Screen::Stretch(const core::Surface& source, int dx, int dy, int dw, int dh) {
  Canvas(*this).Stretch(source, dx, dy, dw, dh);
}

Screen::Canvas::Canvas(Screen& screen)
    : screen_(screen),
      lock_(screen.mutex_),
      pixels_(screen.services_.platform.window.Picture()),
      width_(pixels_ ? std::max(screen.services_.config.width, 0) : 0),
      height_(pixels_ ? std::max(screen.services_.config.height, 0) : 0) {}

Screen::Canvas::~Canvas() {
  // Presented under the lock: the backend reads the picture while it takes the rectangle.
  if (right_ > left_)
    screen_.services_.platform.window.Present(left_, top_, right_ - left_, bottom_ - top_);
}

bool Screen::Canvas::SameLayoutAs(const core::Surface& surface) const {
  return pixels_ != nullptr && surface.Width() == width_ && surface.Height() == height_ &&
         surface.RowBytes() == static_cast<size_t>(width_) * 3;
}

void Screen::Canvas::Mark(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (right_ <= left_) {
    left_ = x;
    top_ = y;
    right_ = x + w;
    bottom_ = y + h;
    return;
  }
  left_ = std::min(left_, x);
  top_ = std::min(top_, y);
  right_ = std::max(right_, x + w);
  bottom_ = std::max(bottom_, y + h);
}

void Screen::Canvas::Copy(const core::Surface& source, int sx, int sy, int w, int h, int dx,
                          int dy) {
  if (!pixels_) return;
  // Clip against the source, then the window, moving both corners together (64 bits: callers
  // pass whatever a script computed).
  auto clip = [](int64_t& s, int64_t& d, int64_t& size, int64_t sourceLimit, int64_t limit) {
    const int64_t cut = std::max({int64_t{0}, -s, -d});
    s += cut;
    d += cut;
    size = std::min({size - cut, sourceLimit - s, limit - d});
  };
  int64_t sx64 = sx, sy64 = sy, dx64 = dx, dy64 = dy, w64 = w, h64 = h;
  clip(sx64, dx64, w64, source.Width(), width_);
  clip(sy64, dy64, h64, source.Height(), height_);
  if (w64 <= 0 || h64 <= 0) return;
  const size_t rowBytes = static_cast<size_t>(width_) * 3;
  const size_t bytes = static_cast<size_t>(w64) * 3;
  for (int64_t i = 0; i < h64; ++i) {
    const int64_t windowRow = height_ - 1 - (dy64 + i);
    std::memcpy(pixels_ + static_cast<size_t>(windowRow) * rowBytes + dx64 * 3,
                source.Row(static_cast<int>(sy64 + i)) + sx64 * 3, bytes);
  }
  Mark(static_cast<int>(dx64), static_cast<int>(dy64), static_cast<int>(w64),
       static_cast<int>(h64));
}

void Screen::Canvas::Stretch(const core::Surface& source, int dx, int dy, int dw, int dh) {
  if (!pixels_ || dw <= 0 || dh <= 0 || source.Empty()) return;
  const int64_t left = std::max<int64_t>(dx, 0);
  const int64_t right = std::min<int64_t>(int64_t{dx} + dw, width_);
  const int64_t top = std::max<int64_t>(dy, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{dy} + dh, height_);
  if (left >= right || top >= bottom) return;
  const size_t rowBytes = static_cast<size_t>(width_) * 3;
  const int64_t sourceWidth = source.Width(), sourceHeight = source.Height();
  for (int64_t y = top; y < bottom; ++y) {
    const uint8_t* from = source.Row(static_cast<int>((y - dy) * sourceHeight / dh));
    uint8_t* to = pixels_ + static_cast<size_t>(height_ - 1 - y) * rowBytes;
    // The source column steps by whole columns and a remainder, with no division per pixel.
    const int64_t start = (left - dx) * sourceWidth;
    int64_t column = start / dw, remainder = start % dw;
    const int64_t step = sourceWidth / dw, stepRemainder = sourceWidth % dw;
    for (int64_t x = left; x < right; ++x) {
      std::memcpy(to + x * 3, from + column * 3, 3);
      column += step;
      remainder += stepRemainder;
      if (remainder >= dw) {
        remainder -= dw;
        ++column;
      }
    }
  }
  Mark(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
       static_cast<int>(bottom - top));
}

}  // namespace qv::graphics
