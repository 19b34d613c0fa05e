// Typing text: glyph placement and blending, the pen's cells, rows and pages, pacing and stops.
#include "screens/TextOutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "screens/WaitCursor.h"
#include "support/FakeGlyphs.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::test {
namespace {

const uint8_t* Pixel(const core::Surface& s, int x, int y) {
  return s.Row(y) + x * 3;
}

TEST(TextOutput, CoverageBlendsWithTheRampThatStopsAt251) {
  TransitionRig rig(800, 600);
  graphics::Presentation& g = rig.engine.view;
  FakeFont* font = rig.fakes.glyphs.font.get();
  std::memset(g.sceneSurface.Data(), 0, g.sceneSurface.SizeBytes());
  // Two pixels of one glyph: full and half coverage (opacity 251 and 125) of white on black.
  platform::GlyphBitmap glyph = FakeFont::Box(2, 1, 16);
  glyph.coverage[1] = 32;
  font->glyphs['A'] = glyph;
  const uint8_t a = 'A';
  screens::RenderGlyph(g, font, g.sceneSurface, 100, 200, &a, 1, screens::kWhite);
  // Centred on x + 10 (first column x + 10 - 1), the top row at y + ascent - originY.
  EXPECT_EQ(std::vector<uint8_t>(Pixel(g.sceneSurface, 109, 202), Pixel(g.sceneSurface, 111, 202)),
            (std::vector<uint8_t>{250, 250, 250, 124, 124, 124}));
  EXPECT_EQ(Pixel(g.sceneSurface, 108, 202)[0], 0);
  EXPECT_EQ(Pixel(g.sceneSurface, 109, 201)[0], 0);
  // A coloured text over a light pixel, channel by channel (COLORREF: red in the low byte).
  std::memset(g.sceneSurface.Data(), 200, g.sceneSurface.SizeBytes());
  screens::RenderGlyph(g, font, g.sceneSurface, 100, 200, &a, 1, 0x0000FF);
  const uint8_t* p = Pixel(g.sceneSurface, 109, 202);
  EXPECT_EQ(p[2], screens::BlendChannel(200, 255, 251));  // red
  EXPECT_EQ(p[1], screens::BlendChannel(200, 0, 251));
  EXPECT_EQ(p[0], screens::BlendChannel(200, 0, 251));
}

TEST(TextOutput, SpeedIsReadAfreshEachCharacterAndReturnToTitleStopsTheLineWithinOne) {
  TransitionRig rig(800, 600);
  script::Engine& engine = rig.engine;
  engine.services.env.messageSpeed = 200;
  rig.fakes.clock.Schedule(1000, [&] { engine.services.env.messageSpeed = 40; });
  EXPECT_EQ(screens::ShowTextLine(engine.view, "abcdefghij"), 1);
  // Five characters at 200 ms, then five at 40 ms; the frame is shown after each character.
  EXPECT_EQ(rig.fakes.clock.nowMs(), 5u * 200 + 5 * 40);
  EXPECT_GE(rig.window.frames.size(), 10u);
  EXPECT_EQ(engine.input.inputBusy, 0);

  engine.services.env.messageSpeed = 200;
  const int x = engine.view.textPositionX;
  rig.fakes.clock.Schedule(1200 + 450, [&] { engine.input.abortTextOutput = 1; });
  EXPECT_EQ(screens::ShowTextLine(engine.view, "abcdefghij"), 0);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 1200u + 450);
  EXPECT_EQ(engine.view.textPositionX, x + 3 * 10);  // half drawn, pen left where it was
  EXPECT_EQ(engine.input.abortTextOutput, 0);
  EXPECT_EQ(engine.input.inputBusy, 0);
  // A stop asked for while no line was typing does not cut the next line.
  engine.input.abortTextOutput = 1;
  EXPECT_EQ(screens::ShowTextLine(engine.view, "ab"), 1);
}

std::string Wide(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "\x82\xa0";  // あ in Shift-JIS
  return s;
}

// Typing on the transition rig's picture, pinned as one digest a row: every frame presented
// (when, where, every window pixel), then the pen, the pages begun, the codes asked of the font,
// the page and cursor flags, the screen's and the scene's surfaces. A changed digest means a
// changed picture or layout.
TEST(TypedText, EachLayoutPresentsTheFramesItAlwaysHas) {
  using Show = void (*)(graphics::Presentation&, FakeFont&);
  const std::tuple<const char*, int, Show, uint64_t> rows[] = {
      // One-byte characters take 10 pixels, a space no ink, the next line a row lower; 38 wide
      // characters fill a row; a lead byte at the very end is drawn as a one-byte character.
      {"cells and rows", 800,
       [](graphics::Presentation& v, FakeFont&) {
         for (const std::string& line : {std::string("a b"), Wide(39), std::string("\x82")})
           screens::ShowTextLine(v, line);
       },
       0xbd4180798cfd39dfu},
      // The fifth row may end below the area (585): the page clears at the next line, or at
      // once when a new page is asked for; a line wrapping on the fifth row goes on at 585.
      {"pages", 800,
       [](graphics::Presentation& v, FakeFont&) {
         for (int i = 0; i < 5; ++i) screens::ShowTextLine(v, "row");
         screens::ShowTextLine(v, "sixth");
         for (int i = 0; i < 3; ++i) screens::ShowTextLine(v, "row");
         screens::ShowTextLine(v, Wide(40));
         v.input.newPageRequested = 1;
         screens::ShowTextLine(v, "p");
       },
       0xee98ce34a9906d42u},
      {"the page put on a smaller frame", 640,
       [](graphics::Presentation& v, FakeFont&) {
         std::memset(v.pageSurface.Data(), 9, v.pageSurface.SizeBytes());
         screens::ShowTextLine(v, "hi");
       },
       0x76ff0e32ac1291e6u},
      // Glyphs too large, failing or without a font draw nothing; half off an edge, the part
      // inside.
      {"glyphs at the edges", 800,
       [](graphics::Presentation& v, FakeFont& font) {
         font.glyphs['B'] = FakeFont::Box(50, 40, 16);  // 2000 bytes
         font.failing.insert('F');
         for (const uint8_t code : {'B', 'F'})
           screens::RenderGlyph(v, &font, v.sceneSurface, 100, 100, &code, 1, screens::kWhite);
         const uint8_t x = 'x';
         screens::RenderGlyph(v, nullptr, v.sceneSurface, 100, 100, &x, 1, screens::kWhite);
         for (auto [cx, cy] : {std::pair{-10, -10}, {790, 590}, {-10, 590}, {790, -10}})
           screens::RenderGlyph(v, &font, v.sceneSurface, cx, cy, &x, 1, screens::kWhite);
       },
       0x83cfacb0dc0776f9u},
      // The cursor's two frames alternate with its erasure from the scene, pure green shows what
      // is under it, and the next line erases it before typing.
      {"wait cursor", 800,
       [](graphics::Presentation& v, FakeFont&) {
         for (size_t i = 0; i < 6144; ++i) v.waitCursorPixels[i] = i < 3072 ? 0 : 0x80;
         const uint8_t greenThenGreenRed[] = {0, 255, 0, 0, 255, 1};  // frame 0's first pixels
         std::memcpy(v.waitCursorPixels.data(), greenThenGreenRed, 6);
         v.messageWindowActive = 0;
         screens::AnimateWaitCursor(v);  // off: nothing
         v.waitCursorOn = 1;
         for (int i = 0; i < 4; ++i) screens::AnimateWaitCursor(v);
         screens::ShowTextLine(v, "a");
       },
       0xce48e7ca85b8f52bu},
  };
  for (const auto& [name, width, show, digest] : rows) {
    SCOPED_TRACE(name);
    TransitionRig rig(width, width * 3 / 4);
    rig.engine.services.env.messageSpeed = 0;
    auto& font = *rig.fakes.glyphs.font;
    rig.DigestFrames();
    show(rig.engine.view, font);
    const auto& v = rig.engine.view;
    const auto& log = rig.fakes.log.lines;
    rig.Fold({uint64_t(v.textPositionX), uint64_t(v.textPositionY),
              uint64_t(std::count(log.begin(), log.end(), "page")), font.asked.size(),
              uint64_t(v.input.newPageRequested), uint64_t(v.waitCursorOn),
              uint64_t(v.cursorDrawing)});
    for (const core::Surface* s : {&v.screen.Surface(), &v.sceneSurface})
      rig.digest = Fnv1a({s->Data(), s->SizeBytes()}, rig.digest);
    EXPECT_EQ(rig.digest, digest) << std::hex << "0x" << rig.digest;
  }
}

}  // namespace
}  // namespace qv::test
