// Copies and stretches onto the window's picture: clipping, what is presented, the refresh pace.
#include <gtest/gtest.h>

#include "graphics/WindowPicture.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Origin;
using test::Source;
using test::TransitionRig;

TEST(WindowPicture, RectanglesAreClippedToSourceAndWindowAndPresentedAsDrawn) {
  TransitionRig rig(8, 6);
  const auto& scene = rig.engine.graphics.sceneSurface;
  // Source column -2 and window row -1 are cut off together with what they would have carried.
  ShowRect(rig.engine, scene, -2, 1, 5, 10, 4, -1);
  ASSERT_EQ(rig.window.frames.size(), 1u);
  const auto& f = rig.window.frames[0];
  EXPECT_EQ((std::vector<int>{f.x, f.y, f.w, f.h}), (std::vector<int>{6, 0, 2, 4}));
  EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
    return x >= 6 && y < 4 ? Origin{Source::New, x - 6, y + 2} : Origin{Source::Old, x, y};
  }),
            0);

  ShowRect(rig.engine, scene, 0, 0, 8, 6, 8, 0);   // right of the window
  ShowRect(rig.engine, scene, 0, 6, 8, 6, 0, 0);   // below the source
  ShowRect(rig.engine, scene, 0, 0, -3, 6, 0, 0);  // no width
  EXPECT_EQ(rig.window.frames.size(), 1u);
}

TEST(WindowPicture, StretchesRepeatOrDropPixelsAndClip) {
  TransitionRig rig(8, 6);
  const auto& scene = rig.engine.graphics.sceneSurface;
  StretchToWindow(rig.engine, scene, -4, 0, 16, 6);  // twice as wide, its left quarter outside
  EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
    return Origin{Source::New, (x + 4) / 2, y};
  }),
            0);

  TransitionRig squeezed(8, 6);
  StretchToWindow(squeezed.engine, squeezed.engine.graphics.sceneSurface, 2, 0, 4, 3);
  EXPECT_EQ(squeezed.WindowMismatches([](int x, int y) {
    return x >= 2 && x < 6 && y < 3 ? Origin{Source::New, (x - 2) * 2, y * 2}
                                    : Origin{Source::Old, x, y};
  }),
            0);
  StretchToWindow(squeezed.engine, squeezed.engine.graphics.sceneSurface, 0, 0, 0, 6);
  StretchToWindow(squeezed.engine, squeezed.engine.graphics.sceneSurface, 0, 0, -8, 6);
  EXPECT_EQ(squeezed.window.frames.size(), 1u);
}

TEST(WindowPicture, DisplayRefreshesComeSixtyTimesASecond) {
  const std::pair<uint64_t, uint64_t> cases[] = {{0, 16},  {15, 16},    {16, 33},
                                                 {33, 50}, {999, 1000}, {1000, 1016}};
  for (auto [now, next] : cases) EXPECT_EQ(NextDisplayRefresh(now), next) << now;
  TransitionRig rig(4, 1);
  rig.fakes.clock.SetNow(20);
  WaitForDisplayRefresh(rig.engine);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 33u);
}

}  // namespace
}  // namespace qv::graphics
