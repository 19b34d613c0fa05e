// Frame by frame: the horizontal zoom and the four pushes, and the display-refresh pacing of the
// frames that have no clock of their own.
#include <gtest/gtest.h>

#include "graphics/Transitions.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Origin;
using test::Source;
using test::TransitionRig;

TEST(HorizontalZoom, StretchesACentredStripThatWidens64ColumnsAFrame) {
  TransitionRig rig(640, 2);
  int frame = 0;
  rig.window.onPresent = [&] {
    ++frame;
    if (frame == 1) {  // columns 288 to 351 show every tenth column of the new picture
      EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
        return x >= 288 && x < 352 ? Origin{Source::New, (x - 288) * 10, y}
                                   : Origin{Source::Old, x, y};
      }),
                0);
    }
  };
  EXPECT_EQ(HorizontalZoom(rig.engine), 10);
  EXPECT_EQ(rig.PresentTimes(),
            (std::vector<uint64_t>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(rig.window.frames[9].w, 640);
}

TEST(HorizontalZoom, StripsWithoutWidthOnANarrowFrameShowNothing) {
  TransitionRig rig(320, 2);
  EXPECT_EQ(HorizontalZoom(rig.engine), 10);
  // Widths 320 - 640 + 64s are 0 or less up to s = 5.
  ASSERT_EQ(rig.window.frames.size(), 6u);
  EXPECT_EQ(rig.window.frames[0].time, 50u);
  EXPECT_EQ(rig.window.frames[0].x, 128);
  EXPECT_EQ(rig.window.frames[0].w, 64);
}

// Where the window looks into the pair of pictures at frame f: the new picture lies below
// (up), above (down), right of (left) or left of (right) the old one.
struct PushCase {
  PushDirection direction;
  int width, height, frames;
};

Origin PushedPixel(const PushCase& c, int f, int x, int y) {
  switch (c.direction) {
    case PushDirection::Up:
      return y + 8 * f < c.height ? Origin{Source::Old, x, y + 8 * f}
                                  : Origin{Source::New, x, y + 8 * f - c.height};
    case PushDirection::Down: {
      const int off = c.height - 8 * f;
      return y + off < c.height ? Origin{Source::New, x, y + off}
                                : Origin{Source::Old, x, y + off - c.height};
    }
    case PushDirection::Left:
      return x + 10 * f < c.width ? Origin{Source::Old, x + 10 * f, y}
                                  : Origin{Source::New, x + 10 * f - c.width, y};
    case PushDirection::Right: {
      const int off = c.width - 10 * f;
      return x + off < c.width ? Origin{Source::New, x + off, y}
                               : Origin{Source::Old, x + off - c.width, y};
    }
  }
  return {};
}

TEST(Push, MovesBothPicturesAFixedStepEachDisplayRefresh) {
  const PushCase cases[] = {{PushDirection::Up, 4, 36, 5},
                            {PushDirection::Down, 4, 36, 5},
                            {PushDirection::Left, 40, 2, 4},
                            {PushDirection::Right, 44, 2, 5}};
  for (const PushCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.direction));
    TransitionRig rig(c.width, c.height);
    int f = 0;
    rig.window.onPresent = [&] {
      if (f < c.frames) {
        EXPECT_EQ(rig.WindowMismatches([&](int x, int y) { return PushedPixel(c, f, x, y); }), 0)
            << "frame " << f;
      }
      ++f;
    };
    // The old picture stays in screenSurface until the closing copy.
    EXPECT_EQ(Push(rig.engine, c.direction), c.frames);
    EXPECT_EQ(rig.WindowMismatches(Source::New), 0);
    EXPECT_TRUE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));
    // One display refresh a frame: refreshes at floor(k * 1000 / 60) ms.
    const std::vector<uint64_t> refreshes = {0, 16, 33, 50, 66, 83};
    EXPECT_EQ(rig.PresentTimes(),
              std::vector<uint64_t>(refreshes.begin(), refreshes.begin() + c.frames + 1));
  }
}

}  // namespace
}  // namespace qv::graphics
