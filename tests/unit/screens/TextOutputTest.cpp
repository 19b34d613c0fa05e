// Typing text: glyph placement and blending, the pen's cells, rows and pages, pacing and stops.
#include "screens/TextOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/Compositing.h"
#include "screens/WaitCursor.h"
#include "support/FakeGlyphs.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using ::testing::ElementsAre;

struct TextOutput : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  graphics::Presentation& g = engine.view;
  std::shared_ptr<FakeFont> font = std::make_shared<FakeFont>();

  void SetUp() override { Frame(800, 600); }
  void Frame(int w, int h) {
    ASSERT_EQ(game.CreateFrame(w, h), 1);
    g.messageFont = font;
    engine.services.env.messageSpeed = 0;
  }
  const uint8_t* Pixel(const core::Surface& s, int x, int y) { return s.Row(y) + x * 3; }
  int Pages() {
    const auto& lines = game.fakes.log.lines;
    return static_cast<int>(std::count(lines.begin(), lines.end(), "page"));
  }
  static std::string Wide(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\x82\xa0";  // あ in Shift-JIS
    return s;
  }
};

TEST_F(TextOutput, CoverageBlendsWithTheRampThatStopsAt251) {
  // Two pixels of one glyph: full and half coverage (opacity 251 and 125) of white on black.
  platform::GlyphBitmap glyph = FakeFont::Box(2, 1, 16);
  glyph.coverage[1] = 32;
  font->glyphs['A'] = glyph;
  const uint8_t a = 'A';
  screens::RenderGlyph(engine.view, font.get(), g.sceneSurface, 100, 200, &a, 1, screens::kWhite);
  // Centred on x + 10 (first column x + 10 - 1), the top row at y + ascent - originY.
  EXPECT_THAT(
      std::vector<uint8_t>(Pixel(g.sceneSurface, 109, 202), Pixel(g.sceneSurface, 111, 202)),
      ElementsAre(250, 250, 250, 124, 124, 124));
  EXPECT_EQ(Pixel(g.sceneSurface, 108, 202)[0], 0);
  EXPECT_EQ(Pixel(g.sceneSurface, 109, 201)[0], 0);
  // A coloured text over a light pixel, channel by channel (COLORREF: red in the low byte).
  std::memset(g.sceneSurface.Data(), 200, g.sceneSurface.SizeBytes());
  screens::RenderGlyph(engine.view, font.get(), g.sceneSurface, 100, 200, &a, 1, 0x0000FF);
  const uint8_t* p = Pixel(g.sceneSurface, 109, 202);
  EXPECT_EQ(p[2], screens::BlendChannel(200, 255, 251));  // red
  EXPECT_EQ(p[1], screens::BlendChannel(200, 0, 251));
  EXPECT_EQ(p[0], screens::BlendChannel(200, 0, 251));
}

TEST_F(TextOutput, OversizedFailingAndEdgeGlyphsNeverWriteOutsideOrCrash) {
  platform::GlyphBitmap big = FakeFont::Box(50, 40, 16);  // 2000 bytes: not drawn
  font->glyphs['B'] = big;
  font->failing.insert('F');
  const uint8_t b = 'B', f = 'F', x = 'x';
  const core::Surface before = g.sceneSurface;
  screens::RenderGlyph(engine.view, font.get(), g.sceneSurface, 100, 100, &b, 1, screens::kWhite);
  screens::RenderGlyph(engine.view, font.get(), g.sceneSurface, 100, 100, &f, 1, screens::kWhite);
  screens::RenderGlyph(engine.view, nullptr, g.sceneSurface, 100, 100, &x, 1, screens::kWhite);
  EXPECT_EQ(std::memcmp(before.Data(), g.sceneSurface.Data(), before.SizeBytes()), 0);
  // Half off every edge: only the part inside is drawn (ASan checks the rest).
  for (auto [cx, cy] : {std::pair{-10, -10}, {790, 590}, {-10, 590}, {790, -10}})
    screens::RenderGlyph(engine.view, font.get(), g.sceneSurface, cx, cy, &x, 1, screens::kWhite);
  EXPECT_EQ(Pixel(g.sceneSurface, 0, 0)[0], 250);
  EXPECT_EQ(Pixel(g.sceneSurface, 799, 599)[0], 250);
}

TEST_F(TextOutput, PenMovesByCellsAndWrapsAfterTheThirtyEighthWideCharacter) {
  screens::ShowTextLine(engine.view, "a b");
  // One-byte characters take 10 pixels, a space no ink; the next line starts a row lower.
  EXPECT_EQ(Pixel(g.screen.Surface(), 35 + 10 - 4, 452)[0], 250);
  EXPECT_EQ(Pixel(g.screen.Surface(), 45 + 10 - 4, 452)[0], 0);
  EXPECT_EQ(Pixel(g.screen.Surface(), 55 + 10 - 4, 452)[0], 250);
  EXPECT_EQ(engine.view.textPositionX, 35);
  EXPECT_EQ(engine.view.textPositionY, 477);

  screens::ShowTextLine(engine.view, Wide(39));
  EXPECT_EQ(Pixel(g.screen.Surface(), 775 + 2, 479)[0], 250);      // the 38th cell of the row
  EXPECT_EQ(Pixel(g.screen.Surface(), 35 + 2, 479 + 27)[0], 250);  // the 39th below
  EXPECT_EQ(engine.view.textPositionY, 477 + 2 * 27);
  // A lead byte at the very end is drawn as a one-byte character.
  screens::ShowTextLine(engine.view, "\x82");
  EXPECT_EQ(static_cast<int>(font->asked.size()), 3 + 39 + 1);
}

TEST_F(TextOutput, PagesClearLazilyAndTheFifthRowMayOverflow) {
  for (int i = 0; i < 5; ++i) screens::ShowTextLine(engine.view, "row");
  EXPECT_EQ(Pages(), 1);
  EXPECT_EQ(engine.view.textPositionY, 450 + 5 * 27);  // 585: below the area, not yet cleared
  screens::ShowTextLine(engine.view, "sixth");
  EXPECT_EQ(Pages(), 2);
  EXPECT_EQ(engine.view.textPositionY, 477);

  // A line that wraps on the fifth row goes on at 585 and the page clears only afterwards.
  for (int i = 0; i < 3; ++i) screens::ShowTextLine(engine.view, "row");
  screens::ShowTextLine(engine.view, Wide(40));
  EXPECT_EQ(Pages(), 2);
  EXPECT_EQ(Pixel(g.screen.Surface(), 37, 587)[0], 250);
  engine.input.newPageRequested = 1;
  screens::ShowTextLine(engine.view, "p");
  EXPECT_EQ(Pages(), 3);
  EXPECT_EQ(engine.input.newPageRequested, 0);
  EXPECT_EQ(Pixel(g.screen.Surface(), 37, 587)[0], 0);  // the page came back from pageSurface
}

TEST_F(TextOutput, SmallFrameClearsOnlyWhatItHolds) {
  graphics::ReleaseSurfaces(engine.view);
  Frame(640, 480);
  std::memset(g.pageSurface.Data(), 9, g.pageSurface.SizeBytes());
  screens::ShowTextLine(engine.view, "hi");
  EXPECT_EQ(Pixel(g.screen.Surface(), 639, 0)[0], 9);
  EXPECT_EQ(Pixel(g.screen.Surface(), 0, 479)[0], 9);
}

TEST_F(TextOutput, SpeedIsReadAfreshEachCharacterAndReturnToTitleStopsTheLineWithinOne) {
  engine.services.env.messageSpeed = 200;
  game.fakes.clock.Schedule(1000, [&] { engine.services.env.messageSpeed = 40; });
  EXPECT_EQ(screens::ShowTextLine(engine.view, "abcdefghij"), 1);
  // Five characters at 200 ms, then five at 40 ms; the frame is shown after each character.
  EXPECT_EQ(game.fakes.clock.nowMs(), 5u * 200 + 5 * 40);
  EXPECT_GE(game.fakes.window.presented.size(), 10u);
  EXPECT_EQ(engine.input.inputBusy, 0);

  engine.services.env.messageSpeed = 200;
  const int x = engine.view.textPositionX;
  game.fakes.clock.Schedule(1200 + 450, [&] { engine.input.abortTextOutput = 1; });
  EXPECT_EQ(screens::ShowTextLine(engine.view, "abcdefghij"), 0);
  EXPECT_EQ(game.fakes.clock.nowMs(), 1200u + 450);
  EXPECT_EQ(engine.view.textPositionX, x + 3 * 10);  // half drawn, pen left where it was
  EXPECT_EQ(engine.input.abortTextOutput, 0);
  EXPECT_EQ(engine.input.inputBusy, 0);
  // A stop asked for while no line was typing does not cut the next line.
  engine.input.abortTextOutput = 1;
  EXPECT_EQ(screens::ShowTextLine(engine.view, "ab"), 1);
}

TEST_F(TextOutput, WaitCursorAlternatesFramesLeavesPureGreenTransparentAndGoesForTheNextLine) {
  g.waitCursorPixels.assign(6144, 0);
  for (size_t i = 3072; i < 6144; ++i) g.waitCursorPixels[i] = 0x80;
  // The first stored row of frame 0 lands at y = 582: pixel 0 pure green, pixel 1 green + red.
  const uint8_t green[] = {0, 255, 0}, greenRed[] = {0, 255, 1};
  std::memcpy(g.waitCursorPixels.data(), green, 3);
  std::memcpy(g.waitCursorPixels.data() + 3, greenRed, 3);
  std::memset(g.sceneSurface.Data(), 7, g.sceneSurface.SizeBytes());
  engine.view.messageWindowActive = 0;  // erased from the scene

  screens::AnimateWaitCursor(engine.view);  // off: nothing
  EXPECT_EQ(Pixel(g.screen.Surface(), 750, 582)[0], 0);
  engine.view.waitCursorOn = 1;
  screens::AnimateWaitCursor(engine.view);
  EXPECT_EQ(Pixel(g.screen.Surface(), 750, 582)[1], 7);
  EXPECT_EQ(Pixel(g.screen.Surface(), 751, 582)[2], 1);
  EXPECT_EQ(Pixel(g.screen.Surface(), 760, 551)[0], 0);
  screens::AnimateWaitCursor(engine.view);
  EXPECT_EQ(Pixel(g.screen.Surface(), 750, 582)[0], 0x80);
  EXPECT_EQ(Pixel(g.screen.Surface(), 760, 551)[0], 0x80);
  screens::AnimateWaitCursor(engine.view);
  EXPECT_EQ(Pixel(g.screen.Surface(), 760, 551)[0], 0);
  EXPECT_EQ(engine.view.cursorDrawing, 0);
  // The next line erases it before drawing.
  screens::AnimateWaitCursor(engine.view);
  EXPECT_EQ(Pixel(g.screen.Surface(), 760, 560)[0], 0x80);
  screens::ShowTextLine(engine.view, "a");
  EXPECT_EQ(engine.view.waitCursorOn, 0);
  EXPECT_EQ(Pixel(g.screen.Surface(), 760, 560)[0], 0);
}

}  // namespace
}  // namespace qv::test
