// The transitions that move pictures: the horizontal zoom and the four pushes.
#include "graphics/DisplayRefresh.h"
#include "graphics/Screen.h"
#include "graphics/TransitionSteps.h"
#include "graphics/Transitions.h"

namespace qv::graphics {

int HorizontalZoom(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  // The strip stays centred on column W/2 and widens by 64 columns a frame, from W - 576 to W.
  // (On frames narrower than 576 the first strips have no width and show nothing.)
  const int frames = 10;
  for (int s = 1; s <= frames; ++s) {
    steps::FrameClock frame(view);
    view.screen.Stretch(screen, 320 - 32 * s, 0, screen.Width() - 640 + 64 * s, screen.Height());
    frame.WaitUntil(10, platform::WaitStyle::Yield);
  }
  view.screen.ShowScreen();
  return frames;
}

int Push(Presentation& view, PushDirection direction) {
  const core::Surface& screen = view.screen.Surface();  // the old picture until the end
  const core::Surface& scene = view.sceneSurface;
  const int width = screen.Width(), height = screen.Height();
  // The two pictures lie side by side (or one above the other) and the window looks at the pair
  // from `off`: pushes up and left start on the old picture, down and right on the new one, and
  // all of them move by 8 rows or 10 columns a frame.
  const bool vertical = direction == PushDirection::Up || direction == PushDirection::Down;
  const bool towardsStart = direction == PushDirection::Up || direction == PushDirection::Left;
  const int distance = vertical ? height : width;
  const int step = vertical ? 8 : 10;
  const core::Surface& first = towardsStart ? screen : scene;
  const core::Surface& second = towardsStart ? scene : screen;
  int frames = 0;
  for (int f = 0;; ++f) {
    const int off = towardsStart ? f * step : distance - f * step;
    if (towardsStart ? off >= distance : off <= 0) break;
    {
      Screen::Canvas canvas(view.screen);
      if (vertical) {
        canvas.Copy(first, 0, off, width, height - off, 0, 0);
        canvas.Copy(second, 0, 0, width, off, 0, height - off);
      } else {
        canvas.Copy(first, off, 0, width - off, height, 0, 0);
        canvas.Copy(second, 0, 0, off, height, width - off, 0);
      }
    }
    ++frames;
    // These frames have no clock of their own; a display refresh each lets the player see them.
    WaitForDisplayRefresh(view);
  }
  view.screen.PutAll(scene);
  view.screen.ShowScreen();
  return frames;
}

}  // namespace qv::graphics
