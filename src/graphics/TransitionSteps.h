// Steps the transitions share: frame pacing, guarded screen updates, the random generator.
#pragma once

#include <cstdint>
#include <mutex>

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

// A repaint may copy screenSurface to the window at any time, so screenSurface changes under the
// window lock too.
inline void CopyToScreen(Presentation& view, const core::Surface& source, int x, int y, int w,
                         int h) {
  std::lock_guard lock(view.windowMutex);
  core::CopyRect(view.screenSurface, x, y, source, x, y, w, h);
}
inline void CopyAllToScreen(Presentation& view, const core::Surface& source) {
  CopyToScreen(view, source, 0, 0, source.Width(), source.Height());
}

// The whole-frame passes need screenSurface, sceneSurface and workPixels laid out alike; they
// are all created at the frame's size, and workPixels is brought to it should it differ. False
// when screenSurface and sceneSurface differ (the pass is then replaced by the cut).
inline bool PreparePixelPass(Presentation& view) {
  auto& g = view;
  if (g.screenSurface.Width() != g.sceneSurface.Width() ||
      g.screenSurface.Height() != g.sceneSurface.Height()) {
    return false;
  }
  if (g.workPixels.Width() != g.sceneSurface.Width() ||
      g.workPixels.Height() != g.sceneSurface.Height()) {
    g.workPixels.Create(g.sceneSurface.Width(), g.sceneSurface.Height());
  }
  return true;
}

}  // namespace qv::graphics::steps
