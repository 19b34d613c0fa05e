// The window's picture and its staging copy (see FramePicture.h).
#include "platform/sdl/FramePicture.h"

#include <algorithm>

namespace qv::platform::sdl {

FramePicture::FramePicture(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * height_ * 3, 0),
      staging_(static_cast<size_t>(width_) * height_, 0xFF000000u),
      dirty_{0, 0, width_, height_} {}

bool FramePicture::Publish(int x, int y, int width, int height) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + std::max(width, 0), width_);
  const int bottom = std::min(y + std::max(height, 0), height_);
  if (left >= right || top >= bottom) return false;

  std::lock_guard lock(mutex_);
  for (int row = top; row < bottom; ++row) {
    const uint8_t* source =
        pixels_.data() + (static_cast<size_t>(height_ - 1 - row) * width_ + left) * 3;
    uint32_t* target = staging_.data() + static_cast<size_t>(row) * width_ + left;
    for (int column = left; column < right; ++column, source += 3) {
      *target++ =
          0xFF000000u | (uint32_t{source[2]} << 16) | (uint32_t{source[1]} << 8) | source[0];
    }
  }
  const bool wasClean = dirty_.w == 0;
  if (wasClean) {
    dirty_ = {left, top, right - left, bottom - top};
  } else {
    const int unionLeft = std::min(dirty_.x, left);
    const int unionTop = std::min(dirty_.y, top);
    const int unionRight = std::max(dirty_.x + dirty_.w, right);
    const int unionBottom = std::max(dirty_.y + dirty_.h, bottom);
    dirty_ = {unionLeft, unionTop, unionRight - unionLeft, unionBottom - unionTop};
  }
  return wasClean;
}

bool FramePicture::TakeChanges(const Upload& upload) {
  std::lock_guard lock(mutex_);
  if (dirty_.w == 0) return false;
  upload(dirty_, staging_.data() + static_cast<size_t>(dirty_.y) * width_ + dirty_.x, width_ * 4);
  dirty_ = {};
  return true;
}

}  // namespace qv::platform::sdl
