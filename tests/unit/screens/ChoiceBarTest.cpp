// Word-choice bars: the slide-in and the two looks of their text.
#include "screens/ChoiceBar.h"

#include <gtest/gtest.h>

#include "graphics/PictureFile.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::test {
namespace {

// A bar at (240, 70) slides in from 150 pixels right in 11 steps of 15, a 420-pixel strip
// presented a step, clipped to the frame while still far right; it lands at full opacity in the
// scene with white text and on the page with highlighted text, 21 pixels a character from
// x = left + 47. A lead byte without its second byte is left out. Pinned as one digest of the
// frames (when, where, every window pixel), the codes asked of the font and both surfaces.
TEST(ChoiceBar, SlidesInElevenStepsAndLeavesBothLooks) {
  TransitionRig rig(800, 600);
  rig.engine.services.baseDirectory = kFakeBaseDirectory;
  core::Surface bar(800, 40);  // a colour half with a gradient, then an opaque (black) mask half
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 400 * 3; ++x) bar.Row(y)[x] = static_cast<uint8_t>(x + 5 * y);
  }
  const auto file = graphics::EncodeBitmap(bar);
  rig.fakes.files.Put(std::string(kFakeBaseDirectory) + "cg\\menu\\menubar.bmp",
                      std::string(file.begin(), file.end()));
  core::ChoiceItem& item = rig.engine.script.choices.items[0];
  item.left = 240;
  item.top = 70;
  rig.DigestFrames();
  EXPECT_EQ(
      screens::DrawChoiceBar(rig.engine.view, rig.engine.script.choices, "\x82\xa0\x82\xa2\x82", 0),
      1);
  EXPECT_EQ(rig.fakes.glyphs.font->asked.size(), 4u);  // two characters, in two looks
  const auto& g = rig.engine.view;
  for (const core::Surface* s : {&g.sceneSurface, &g.pageSurface})
    rig.digest = Fnv1a({s->Data(), s->SizeBytes()}, rig.digest);
  EXPECT_EQ(rig.digest, 0x00d53a4f767eefdeu) << std::hex << "0x" << rig.digest;
}

}  // namespace
}  // namespace qv::test
