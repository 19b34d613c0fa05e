// Where the W x H frame sits inside the window, and the mapping of pointer positions back to it.
#pragma once

#include <optional>

namespace qv::platform::sdl {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

struct FramePoint {
  int x = 0;
  int y = 0;
};

// The largest whole factor at most kMaxScale the width x height frame can be shown at inside
// `usable` (at least 1), for a `requested` factor of 0; a requested one, lowered until it fits.
// Without a known area, the requested factor, or 1.
inline constexpr int kMaxScale = 8;
int ChooseScale(int requested, int width, int height, const std::optional<PixelRect>& usable);

// The frame's placement in a drawable of outputW x outputH pixels and the window's size in
// pointer units (the two differ on high-density displays).
class FrameGeometry {
 public:
  FrameGeometry(int frameW, int frameH, int windowW, int windowH, int outputW, int outputH);

  // The largest rectangle with the frame's aspect ratio that fits the drawable, centred; the
  // remaining bands stay black. A whole-factor window gets exactly frame x factor.
  const PixelRect& View() const { return view_; }
  // True when the view is a whole multiple of the frame, so nearest-pixel scaling stays crisp.
  bool WholeScale() const;

  // A pointer position in window units to frame coordinates (rounded down). Positions over the
  // black bands map outside 0..W-1 / 0..H-1, as a click beside the picture should.
  FramePoint WindowToFrame(int windowX, int windowY) const;
  // The first window position on a frame pixel (for placing pop-ups at it).
  FramePoint FrameToWindow(int frameX, int frameY) const;

  // A whole factor of the frame for sizing the user interface: 1 when the view is smaller.
  int UiScale() const;

  // True when a pointer position in window units lies inside the window.
  bool InsideWindow(int windowX, int windowY) const {
    return windowX >= 0 && windowY >= 0 && windowX < windowW_ && windowY < windowH_;
  }

 private:
  int frameW_;
  int frameH_;
  int windowW_;
  int windowH_;
  double windowToOutputX_;
  double windowToOutputY_;
  PixelRect view_;
};

}  // namespace qv::platform::sdl
