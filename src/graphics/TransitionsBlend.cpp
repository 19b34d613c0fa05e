// The transitions that mix the pictures pixel by pixel: the ordered dissolve, the cross-fade and
// the mask transition.
#include <algorithm>
#include <array>
#include <vector>

#include "graphics/DisplayRefresh.h"
#include "graphics/FrameKernels.h"
#include "graphics/Screen.h"
#include "graphics/TransitionSteps.h"
#include "graphics/Transitions.h"

namespace qv::graphics {

namespace {

// Writes the screen's surface by `pass` and shows it: in the same pass when the window's picture
// is laid out like the surface, else by a copy afterwards. `pass` gets the surface and the
// window's bytes or null.
template <typename Pass>
void DrawFrame(Presentation& view, Pass pass) {
  Screen::Canvas canvas(view.screen);
  core::Surface& screen = canvas.Surface();
  if (canvas.SameLayoutAs(screen)) {
    pass(screen, canvas.Pixels());
    canvas.MarkAll();
  } else {
    pass(screen, nullptr);
    canvas.Copy(screen, 0, 0, screen.Width(), screen.Height(), 0, 0);
  }
}

}  // namespace

int OrderedDissolve(Presentation& view) {
  if (!steps::PreparePixelPass(view)) return Cut(view);
  auto& g = view;
  core::CopyAll(g.workPixels, g.sceneSurface);
  // Stored row offsets and, for each, the column offsets in the order the frames visit them:
  // (0,3) (0,2) (0,1) (0,0) (2,0) (2,3) ... (1,3), every cell position of the 4 x 4 grid once.
  constexpr std::array<int, 4> kRows = {0, 2, 3, 1};
  constexpr std::array<std::array<int, 4>, 4> kColumns = {
      {{3, 2, 1, 0}, {0, 3, 2, 1}, {1, 0, 3, 2}, {2, 1, 0, 3}}};
  int frames = 0;
  for (int k = 0; k < 4; ++k) {
    for (int m = 0; m < 4; ++m, ++frames) {
      steps::FrameClock frame(view);
      {
        // The old picture is blended in place on the screen.
        Screen::Canvas canvas(view.screen);
        core::Surface& screen = canvas.Surface();
        CopyDissolveCells(screen.Data(), g.workPixels.Data(), screen.RowBytes(), screen.Width(),
                          screen.Height(), kRows[k], kColumns[k][m]);
        canvas.Copy(screen, 0, 0, screen.Width(), screen.Height(), 0, 0);
      }
      frame.WaitUntil(40, platform::WaitStyle::Yield);
    }
  }
  return frames;
}

int CrossFade(Presentation& view, int stepCount) {
  if (!steps::PreparePixelPass(view)) return Cut(view);
  // No step count below 1 exists (the share of each step is 256 / steps); above 256 the share
  // is 0 and every frame shows the old picture, so more of them than 257 steps give would only
  // hold the game up (and a huge count would overflow the frame count).
  stepCount = std::clamp(stepCount, 1, 257);
  auto& g = view;
  const core::Surface& screen = g.screen.Surface();
  // workPixels keeps the old picture while the frames are mixed into the screen, and the last
  // frame's picture afterwards.
  core::CopyAll(g.workPixels, screen);
  const int share = 256 / stepCount;
  for (int i = 0; i <= stepCount; ++i) {
    DrawFrame(view, [&](core::Surface& out, uint8_t* window) {
      CrossFadeBytes(out.Data(), window, g.workPixels.Data(), g.sceneSurface.Data(),
                     out.SizeBytes(), share * i);
    });
    // These frames have no clock of their own; a display refresh each lets the player see them.
    WaitForDisplayRefresh(view);
  }
  core::CopyAll(g.workPixels, screen);
  return stepCount + 1;
}

int MaskTransition(Presentation& view, const MaskPicture& mask) {
  if (!steps::PreparePixelPass(view)) return Cut(view);
  auto& g = view;
  const core::Surface& screen = g.screen.Surface();
  core::CopyAll(g.workPixels, g.sceneSurface);
  // Each byte's share of the mask is the same in every frame.
  const std::vector<uint8_t> shares =
      ResolveMaskShares(mask, screen.Width(), screen.Height(), screen.RowBytes());
  int frames = 0;
  for (int level = -256; level <= 256; level += 16, ++frames) {
    steps::FrameClock frame(view);
    // The old picture is blended in place: each frame moves every pixel a further share of the
    // way, so light mask entries start first and all arrive within rounding in the last frame.
    DrawFrame(view, [&](core::Surface& out, uint8_t* window) {
      MaskBlendBytes(out.Data(), window, g.workPixels.Data(), shares.data(), out.SizeBytes(),
                     level);
    });
    frame.WaitUntil(20, platform::WaitStyle::Sleep);
  }
  return frames;
}

}  // namespace qv::graphics
