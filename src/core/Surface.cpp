// Pixel surfaces (see Surface.h).
#include "core/Surface.h"

#include <algorithm>
#include <cstring>

namespace qv::core {

void Surface::Create(int width, int height) {
  if (width <= 0 || height <= 0) {
    Release();
    return;
  }
  width_ = width;
  height_ = height;
  rowBytes_ = RowBytesFor(width);
  pixels_.assign(rowBytes_ * static_cast<size_t>(height), 0);
}

void CopyRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
  // Clip against the source, then the destination, moving both corners together.
  auto clip = [](int& a, int& b, int& size, int limitA, int limitB) {
    if (a < 0) {
      b -= a;
      size += a;
      a = 0;
    }
    if (b < 0) {
      a -= b;
      size += b;
      b = 0;
    }
    size = std::min({size, limitA - a, limitB - b});
  };
  clip(sx, dx, w, src.Width(), dst.Width());
  clip(sy, dy, h, src.Height(), dst.Height());
  if (w <= 0 || h <= 0) return;
  const size_t bytes = static_cast<size_t>(w) * 3;
  if (&dst == &src && dy > sy) {
    for (int i = h - 1; i >= 0; --i) {
      std::memmove(dst.Row(dy + i) + dx * 3, src.Row(sy + i) + sx * 3, bytes);
    }
    return;
  }
  for (int i = 0; i < h; ++i) {
    std::memmove(dst.Row(dy + i) + dx * 3, src.Row(sy + i) + sx * 3, bytes);
  }
}

std::vector<uint8_t> PackedRows(const Surface& surface) {
  const size_t rowBytes = static_cast<size_t>(surface.Width()) * 3;
  std::vector<uint8_t> packed(rowBytes * static_cast<size_t>(surface.Height()));
  for (int r = 0; r < surface.Height(); ++r) {
    std::memcpy(packed.data() + rowBytes * static_cast<size_t>(r), surface.StoredRow(r), rowBytes);
  }
  return packed;
}

}  // namespace qv::core
