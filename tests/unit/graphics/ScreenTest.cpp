// Copies and stretches onto the window's picture, the shake and the two lines, each pinned as one
// digest of its frames (when, where, every window pixel), the clock and the screen's surface. (The
// refresh pace is timed by the push and cross-fade tests.)
#include "graphics/Screen.h"

#include <gtest/gtest.h>

#include "graphics/SubEffects.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::TransitionRig;

void Show(Presentation& v, int sx, int sy, int w, int h, int dx, int dy) {
  v.screen.Show(v.sceneSurface, sx, sy, w, h, dx, dy);
}
void Stretch(Presentation& v, int dx, int dy, int dw, int dh) {
  v.screen.Stretch(v.sceneSurface, dx, dy, dw, dh);
}

// Clipping cuts a copy at the source and the window together and presents what was drawn; a
// rectangle with nothing left presents nothing. Stretches repeat or drop pixels. The shake moves
// the whole larger frame and leaves the screen's surface as it was; the lines cross row 228 of
// the whole frame, one step of 20 columns a frame, and stay in the screen's surface for a
// repaint. Other sub-effect numbers do nothing. None of them touches the busy input.
TEST(Screen, CopiesStretchesAndSubEffectsPresentTheFramesTheyAlwaysHave) {
  struct Row {
    const char* name;
    int width, height;
    void (*run)(Presentation&);
    const char* log;
    uint64_t digest;
  };
  const Row rows[] = {
      {"show, clipped", 8, 6,
       [](Presentation& v) {
         Show(v, -2, 1, 5, 10, 4, -1);  // source column -2 and window row -1 cut off together
         Show(v, 0, 0, 8, 6, 8, 0);     // right of the window
         Show(v, 0, 6, 8, 6, 0, 0);     // below the source
         Show(v, 0, 0, -3, 6, 0, 0);    // no width
       },
       "", 0xbbdd84c2debed865u},
      {"stretch, twice as wide from x = -4", 8, 6,
       [](Presentation& v) { Stretch(v, -4, 0, 16, 6); }, "", 0xd58a2cff59ae36dbu},
      {"stretch, squeezed", 8, 6,
       [](Presentation& v) {
         Stretch(v, 2, 0, 4, 3);
         Stretch(v, 0, 0, 0, 6);
         Stretch(v, 0, 0, -8, 6);
       },
       "", 0xedd507a82c1d2be4u},
      {"shake", 800, 600, [](Presentation& v) { RunSubEffect(v, 1); }, "subeffect 1",
       0xce8340a579d799e5u},
      {"red line", 640, 480, [](Presentation& v) { RunSubEffect(v, 2); }, "subeffect 2",
       0xc9fddee5fc2e409bu},
      {"white line", 640, 480, [](Presentation& v) { RunSubEffect(v, 3); }, "subeffect 3",
       0x6cc9da19ddd71ebbu},
      {"red line, larger frame", 800, 600, [](Presentation& v) { RunSubEffect(v, 2); },
       "subeffect 2", 0xf860f4ab484b3508u},
      {"other numbers", 16, 8,
       [](Presentation& v) {
         for (int number : {0, 4, -1}) RunSubEffect(v, number);
       },
       "", 0x0bf4284b3463f5c5u},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TransitionRig rig(row.width, row.height);
    rig.engine.input.inputBusy = 1;
    rig.DigestFrames();
    row.run(rig.engine.view);
    rig.Fold({rig.fakes.clock.nowMs()});
    const auto& screen = rig.engine.view.screen.Surface();
    rig.digest = test::Fnv1a({screen.Data(), screen.SizeBytes()}, rig.digest);
    EXPECT_EQ(rig.digest, row.digest) << std::hex << "0x" << rig.digest;
    EXPECT_EQ(rig.fakes.log.lines.empty() ? "" : rig.fakes.log.lines.back(), row.log);
    EXPECT_EQ(rig.engine.input.inputBusy, 1);
  }
}

}  // namespace
}  // namespace qv::graphics
