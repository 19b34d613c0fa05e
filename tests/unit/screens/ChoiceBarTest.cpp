// Word-choice bars: the slide-in and the two looks of their text.
#include "screens/ChoiceBar.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/Compositing.h"
#include "graphics/PictureFile.h"
#include "screens/TextOutput.h"
#include "support/FakeGlyphs.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

struct ChoiceBar : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  graphics::Presentation& g = engine.view;
  std::shared_ptr<FakeFont> font = std::make_shared<FakeFont>();

  void SetUp() override {
    engine.services.baseDirectory = kFakeBaseDirectory;
    ASSERT_EQ(game.CreateFrame(800, 600), 1);
    g.messageFont = font;
    core::ChoiceItem& item = engine.script.choices.items[0];
    item.left = 240;
    item.top = 70;
  }
  void PutBar(uint8_t colour) {
    core::Surface bar(800, 40);  // colour half, then an opaque (black) mask half
    for (int y = 0; y < 40; ++y) std::memset(bar.Row(y), colour, 400 * 3);
    auto file = graphics::EncodeBitmap(bar);
    game.fakes.files.Put(std::string(kFakeBaseDirectory) + "cg\\menu\\menubar.bmp",
                         std::string(file.begin(), file.end()));
  }
  const uint8_t* Pixel(const core::Surface& s, int x, int y) { return s.Row(y) + x * 3; }
};

TEST_F(ChoiceBar, SlidesInElevenStepsAndLeavesBothLooks) {
  PutBar(0x80);
  game.fakes.window.presented.clear();
  // A lead byte without its second byte is left out.
  EXPECT_EQ(screens::DrawChoiceBar(engine.view, engine.script.choices, "\x82\xa0\x82\xa2\x82", 0),
            1);
  EXPECT_EQ(font->asked.size(), 4u);  // two characters, in two looks
  const auto& shown = game.fakes.window.presented;
  ASSERT_EQ(shown.size(), 11u);
  for (int step = 0; step < 11; ++step) {
    EXPECT_EQ(shown[static_cast<size_t>(step)].x, 240 + 150 - 15 * step) << step;
    // A 420-pixel strip, clipped to the frame while the bar is still far right.
    EXPECT_EQ(shown[static_cast<size_t>(step)].width, std::min(420, 800 - (390 - 15 * step)))
        << step;
  }
  // The bar at full opacity in both surfaces; text white in the scene, highlighted on the page,
  // 21 pixels apart from x = left + 47.
  EXPECT_NEAR(Pixel(g.sceneSurface, 245, 75)[0], 0x80, 2);
  EXPECT_NEAR(Pixel(g.pageSurface, 245, 75)[0], 0x80, 2);
  const int glyphX = 240 + 47 + 21 + 10 - 8;
  const uint8_t* white = Pixel(g.sceneSurface, glyphX, 70 + 9 + 3);
  const uint8_t* highlight = Pixel(g.pageSurface, glyphX, 70 + 9 + 3);
  EXPECT_GT(white[0], 0xF0);
  EXPECT_EQ(highlight[2], screens::BlendChannel(Pixel(g.sceneSurface, 245, 75)[2], 171, 251));
  EXPECT_EQ(highlight[1], screens::BlendChannel(Pixel(g.sceneSurface, 245, 75)[1], 254, 251));
}

}  // namespace
}  // namespace qv::test
