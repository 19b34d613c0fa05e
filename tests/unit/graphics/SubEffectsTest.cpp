// The shake and the two lines: what they leave on the window and in screenSurface, and when.
#include <gtest/gtest.h>

#include "graphics/SubEffects.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Origin;
using test::Source;
using test::TransitionRig;

TEST(SubEffects, ShakeShiftsTheFrameAndEndsWithTheWindowEqualToTheScreen) {
  TransitionRig rig(800, 600);  // the whole larger frame shakes
  rig.engine.inputBusy = 1;
  std::fill(rig.window.picture.begin(), rig.window.picture.end(), 0);
  rig.window.onPresent = [&] {
    if (rig.window.frames.size() != 1) return;
    // Shifted by (-30, 15): the right 30 columns and the top 15 rows keep what was there.
    EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
      return x < 770 && y >= 15 ? Origin{Source::Old, x + 30, y - 15} : Origin{Source::Other, 0, 0};
    }),
              0);
  };
  RunSubEffect(rig.engine, 1);
  EXPECT_EQ(rig.PresentTimes(), (std::vector<uint64_t>{0, 50, 100, 150, 200, 250}));
  EXPECT_TRUE(rig.WindowEqualsScreen());
  EXPECT_EQ(rig.WindowMismatches(Source::Old), 0);  // screenSurface unchanged
  EXPECT_EQ(rig.engine.inputBusy, 1);
  EXPECT_EQ(rig.fakes.log.lines.back(), "subeffect 1");
}

TEST(SubEffects, LinesStayOnRow228OfTheScreenWithoutTheirEndPoint) {
  for (int number : {2, 3}) {
    TransitionRig rig(640, 480);
    const uint8_t red = 255, blue = number == 3 ? 255 : 0;
    int step = 0;
    rig.window.onPresent = [&] {
      // Step k has drawn columns up to 20k - 1.
      const uint8_t* row = rig.window.At(0, 228);
      for (int x = 0; x < 640; ++x) {
        const bool drawn = row[3 * x] == blue && row[3 * x + 1] == blue && row[3 * x + 2] == red;
        ASSERT_EQ(drawn, x < 20 * step) << "step " << step << " column " << x;
      }
      ++step;
    };
    RunSubEffect(rig.engine, number);
    EXPECT_EQ(step, 33);
    EXPECT_EQ(rig.fakes.clock.nowMs(), 33u);
    // A repaint shows it: screenSurface holds the line, and nothing else changed.
    EXPECT_TRUE(rig.WindowEqualsScreen());
    EXPECT_EQ(
        rig.WindowMismatches([](int, int y) { return y == 228 ? Source::Other : Source::Old; }), 0);
    EXPECT_EQ(rig.fakes.log.lines.back(), "subeffect " + std::to_string(number));
  }
}

TEST(SubEffects, LinesCrossTheWholeWidthOfALargerFrame) {
  TransitionRig rig(800, 600);
  RunSubEffect(rig.engine, 2);
  EXPECT_EQ(rig.window.frames.size(), 41u);
  EXPECT_EQ(rig.WindowMismatches([](int, int y) { return y == 228 ? Source::Other : Source::Old; }),
            0);
  const uint8_t* last = rig.engine.graphics.screenSurface.Row(228) + 3 * 799;
  EXPECT_EQ(last[2], 255);
}

TEST(SubEffects, OtherNumbersDoNothing) {
  for (int number : {0, 4, -1}) {
    TransitionRig rig(16, 8);
    RunSubEffect(rig.engine, number);
    EXPECT_TRUE(rig.window.frames.empty());
    EXPECT_EQ(rig.fakes.clock.nowMs(), 0u);
    EXPECT_TRUE(rig.fakes.log.lines.empty());
  }
}

}  // namespace
}  // namespace qv::graphics
