// Steps the transitions share: frame pacing and the whole-frame passes' layout.
#pragma once

#include <cstdint>

#include "core/Surface.h"
#include "graphics/Presentation.h"
#include "platform/Clock.h"

namespace qv::graphics::steps {

// A frame's pacing: its start is taken before it draws, and the wait ends `ms` after that start,
// so slow drawing shortens the wait instead of stretching the transition.
class FrameClock {
 public:
  explicit FrameClock(Presentation& view)
      : clock_(view.services.platform.clock), start_(clock_.tickCount()) {}
  void WaitUntil(uint32_t ms, platform::WaitStyle style) {
    clock_.waitUntilTick(start_ + ms, style);
  }

 private:
  platform::Clock& clock_;
  uint32_t start_;
};

// The whole-frame passes need the screen, sceneSurface and workPixels laid out alike; they are
// all created at the frame's size, and workPixels is brought to it should it differ. False when
// the screen and sceneSurface differ (the pass is then replaced by the cut).
inline bool PreparePixelPass(Presentation& view) {
  auto& g = view;
  if (g.screen.Width() != g.sceneSurface.Width() || g.screen.Height() != g.sceneSurface.Height()) {
    return false;
  }
  if (g.workPixels.Width() != g.sceneSurface.Width() ||
      g.workPixels.Height() != g.sceneSurface.Height()) {
    g.workPixels.Create(g.sceneSurface.Width(), g.sceneSurface.Height());
  }
  return true;
}

}  // namespace qv::graphics::steps
