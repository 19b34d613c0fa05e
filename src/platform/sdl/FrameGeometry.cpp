// Letterboxing and pointer mapping for the frame (see FrameGeometry.h).
#include "platform/sdl/FrameGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qv::platform::sdl {

FrameGeometry::FrameGeometry(int frameW, int frameH, int windowW, int windowH, int outputW,
                             int outputH)
    : frameW_(std::max(frameW, 1)),
      frameH_(std::max(frameH, 1)),
      windowW_(windowW),
      windowH_(windowH),
      windowToOutputX_(windowW > 0 ? static_cast<double>(outputW) / windowW : 1.0),
      windowToOutputY_(windowH > 0 ? static_cast<double>(outputH) / windowH : 1.0) {
  outputW = std::max(outputW, 1);
  outputH = std::max(outputH, 1);
  // Compare the aspect ratios in integers so that an exact fit is never lost to rounding.
  const int64_t wideness = int64_t{outputW} * frameH_ - int64_t{outputH} * frameW_;
  if (wideness > 0) {  // wider than the frame: bands left and right
    view_.h = outputH;
    view_.w = static_cast<int>(int64_t{outputH} * frameW_ / frameH_);
  } else {  // taller (or exact): bands above and below
    view_.w = outputW;
    view_.h = static_cast<int>(int64_t{outputW} * frameH_ / frameW_);
  }
  view_.x = (outputW - view_.w) / 2;
  view_.y = (outputH - view_.h) / 2;
}

bool FrameGeometry::WholeScale() const {
  return view_.w % frameW_ == 0 && view_.h % frameH_ == 0 && view_.w / frameW_ == view_.h / frameH_;
}

FramePoint FrameGeometry::WindowToFrame(int windowX, int windowY) const {
  const double outX = windowX * windowToOutputX_ - view_.x;
  const double outY = windowY * windowToOutputY_ - view_.y;
  if (view_.w <= 0 || view_.h <= 0) return {};
  return {static_cast<int>(std::floor(outX * frameW_ / view_.w)),
          static_cast<int>(std::floor(outY * frameH_ / view_.h))};
}

FramePoint FrameGeometry::FrameToWindow(int frameX, int frameY) const {
  const double outX = view_.x + static_cast<double>(frameX) * view_.w / frameW_;
  const double outY = view_.y + static_cast<double>(frameY) * view_.h / frameH_;
  // Rounded up, so that the window position lies on the frame pixel and maps back to it.
  constexpr double kSlack = 1e-9;
  return {static_cast<int>(std::ceil(outX / windowToOutputX_ - kSlack)),
          static_cast<int>(std::ceil(outY / windowToOutputY_ - kSlack))};
}

int FrameGeometry::UiScale() const {
  return std::max(1, view_.h / frameH_);
}

}  // namespace qv::platform::sdl

namespace qv::platform::sdl {

int ChooseScale(int requested, int width, int height, const std::optional<PixelRect>& usable) {
  auto fits = [&](int scale) {
    return static_cast<long>(width) * scale <= usable->w &&
           static_cast<long>(height) * scale <= usable->h;
  };
  if (!usable) return requested > 0 ? requested : 1;
  if (requested > 0) {
    int scale = requested;
    while (scale > 1 && !fits(scale)) --scale;
    return scale;
  }
  int scale = 1;
  while (scale < kMaxScale && fits(scale + 1)) ++scale;
  return scale;
}

}  // namespace qv::platform::sdl
