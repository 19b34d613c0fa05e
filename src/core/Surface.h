// Pixel surfaces: 24-bit blue-green-red pictures with rows stored bottom-up, padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::core {

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) { Create(width, height); }

  // A zero-filled (black) surface; a width or height of 0 or less gives an empty one.
  void Create(int width, int height);
  void Release() { *this = Surface(); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  size_t RowBytes() const { return rowBytes_; }
  static size_t RowBytesFor(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
  size_t SizeBytes() const { return pixels_.size(); }

  uint8_t* Data() { return pixels_.data(); }
  const uint8_t* Data() const { return pixels_.data(); }
  // Stored row r, 0 being the bottom row of the picture.
  uint8_t* StoredRow(int r) { return pixels_.data() + static_cast<size_t>(r) * rowBytes_; }
  const uint8_t* StoredRow(int r) const {
    return pixels_.data() + static_cast<size_t>(r) * rowBytes_;
  }
  // Row y in drawing coordinates, 0 being the top row.
  uint8_t* Row(int y) { return StoredRow(height_ - 1 - y); }
  const uint8_t* Row(int y) const { return StoredRow(height_ - 1 - y); }

 private:
  int width_ = 0;
  int height_ = 0;
  size_t rowBytes_ = 0;
  std::vector<uint8_t> pixels_;
};

// A rectangle copy in drawing coordinates: the w × h rectangle of `src` at (sx, sy) goes to
// (dx, dy) of `dst`. Parts outside either surface are left out, so nothing is ever read or
// written outside them.
void CopyRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);

// The whole of `src` onto `dst` at (0, 0), clipped.
// The pixels bottom row first with no row padding: the layout of the window's picture, which
// the PNG encoder and window icons take too.
std::vector<uint8_t> PackedRows(const Surface& surface);

inline void CopyAll(Surface& dst, const Surface& src) {
  CopyRect(dst, 0, 0, src, 0, 0, src.Width(), src.Height());
}

}  // namespace qv::core
