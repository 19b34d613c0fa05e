// Copies and stretches onto the window's picture: clipping and what is presented; the shake and
// the two lines drawn with them, on the window and in the screen's surface. (The refresh pace is
// timed by the push and cross-fade tests.)
#include "graphics/Screen.h"

#include <gtest/gtest.h>

#include <tuple>

#include "graphics/SubEffects.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Origin;
using test::Source;
using test::TransitionRig;

TEST(Screen, RectanglesAreClippedToSourceAndWindowAndPresentedAsDrawn) {
  TransitionRig rig(8, 6);
  const auto& scene = rig.engine.view.sceneSurface;
  // Source column -2 and window row -1 are cut off together with what they would have carried.
  rig.engine.view.screen.Show(scene, -2, 1, 5, 10, 4, -1);
  ASSERT_EQ(rig.window.frames.size(), 1u);
  const auto& f = rig.window.frames[0];
  EXPECT_EQ((std::tuple{f.x, f.y, f.w, f.h}), (std::tuple{6, 0, 2, 4}));
  EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
    return x >= 6 && y < 4 ? Origin{Source::New, x - 6, y + 2} : Origin{Source::Old, x, y};
  }),
            0);
  rig.engine.view.screen.Show(scene, 0, 0, 8, 6, 8, 0);   // right of the window
  rig.engine.view.screen.Show(scene, 0, 6, 8, 6, 0, 0);   // below the source
  rig.engine.view.screen.Show(scene, 0, 0, -3, 6, 0, 0);  // no width
  EXPECT_EQ(rig.window.frames.size(), 1u);
}

TEST(Screen, StretchesRepeatOrDropPixelsAndClip) {
  TransitionRig rig(8, 6);
  const auto& scene = rig.engine.view.sceneSurface;
  rig.engine.view.screen.Stretch(scene, -4, 0, 16, 6);  // twice as wide, its left quarter outside
  EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
    return Origin{Source::New, (x + 4) / 2, y};
  }),
            0);
  TransitionRig squeezed(8, 6);
  const auto& source = squeezed.engine.view.sceneSurface;
  squeezed.engine.view.screen.Stretch(source, 2, 0, 4, 3);
  EXPECT_EQ(squeezed.WindowMismatches([](int x, int y) {
    return x >= 2 && x < 6 && y < 3 ? Origin{Source::New, (x - 2) * 2, y * 2}
                                    : Origin{Source::Old, x, y};
  }),
            0);
  squeezed.engine.view.screen.Stretch(source, 0, 0, 0, 6);
  squeezed.engine.view.screen.Stretch(source, 0, 0, -8, 6);
  EXPECT_EQ(squeezed.window.frames.size(), 1u);
}

TEST(SubEffects, ShakeShiftsTheFrameAndEndsWithTheWindowEqualToTheScreen) {
  TransitionRig rig(800, 600);  // the whole larger frame shakes
  rig.engine.input.inputBusy = 1;
  std::fill(rig.window.picture.begin(), rig.window.picture.end(), 0);
  rig.window.onPresent = [&] {
    if (rig.window.frames.size() != 1) return;
    // Shifted by (-30, 15): the right 30 columns and the top 15 rows keep what was there.
    EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
      return x < 770 && y >= 15 ? Origin{Source::Old, x + 30, y - 15} : Origin{Source::Other, 0, 0};
    }),
              0);
  };
  RunSubEffect(rig.engine.view, 1);
  EXPECT_EQ(rig.PresentTimes(), (std::vector<uint64_t>{0, 50, 100, 150, 200, 250}));
  EXPECT_TRUE(rig.WindowEqualsScreen());
  EXPECT_EQ(rig.WindowMismatches(Source::Old), 0);  // the screen's surface unchanged
  EXPECT_EQ(rig.engine.input.inputBusy, 1);
  EXPECT_EQ(rig.fakes.log.lines.back(), "subeffect 1");
}

TEST(SubEffects, LinesCrossRow228OfTheWholeFrameAndStayOnTheScreen) {
  for (const auto& [width, height, number] :
       {std::tuple{640, 480, 2}, {640, 480, 3}, {800, 600, 2}}) {
    SCOPED_TRACE(std::to_string(number) + " at " + std::to_string(width));
    TransitionRig rig(width, height);
    const uint8_t blue = number == 3 ? 255 : 0;  // a white or a red line
    int step = 0;
    rig.window.onPresent = [&] {
      // Step k has drawn columns up to 20k - 1, without the line's end point.
      const uint8_t* row = rig.window.At(0, 228);
      for (int x = 0; x < width; ++x) {
        const bool drawn = row[3 * x] == blue && row[3 * x + 1] == blue && row[3 * x + 2] == 255;
        ASSERT_EQ(drawn, x < std::min(20 * step, width)) << "step " << step << " column " << x;
      }
      ++step;
    };
    RunSubEffect(rig.engine.view, number);
    EXPECT_EQ(step, width / 20 + 1);
    EXPECT_EQ(rig.fakes.clock.nowMs(), width / 20 + 1u);
    // A repaint shows it: the screen's surface holds the line, and nothing else changed.
    EXPECT_TRUE(rig.WindowEqualsScreen());
    EXPECT_EQ(
        rig.WindowMismatches([](int, int y) { return y == 228 ? Source::Other : Source::Old; }), 0);
    EXPECT_EQ(rig.fakes.log.lines.back(), "subeffect " + std::to_string(number));
  }
  for (int number : {0, 4, -1}) {  // other numbers do nothing
    TransitionRig rig(16, 8);
    RunSubEffect(rig.engine.view, number);
    EXPECT_TRUE(rig.window.frames.empty());
    EXPECT_EQ(rig.fakes.clock.nowMs(), 0u);
    EXPECT_TRUE(rig.fakes.log.lines.empty());
  }
}

}  // namespace
}  // namespace qv::graphics
