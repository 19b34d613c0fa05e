// Playing the choice commands and the name entry headless: lists, conditions, picks and errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "support/HeadlessGame.h"
#include "support/PngReader.h"

namespace qv::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kInstance =
    "InstanceName=\"choice\" WindowName=\"選択\" WindowWidth=\"800\" WindowHeight=\"600\"\n";

void WritePicture(const TempDir& dir, const std::string& path, const core::Surface& picture,
                  bool scrambled = false) {
  std::vector<uint8_t> file = graphics::EncodeBitmap(picture);
  if (scrambled) graphics::ScrambleBackground(file);
  WriteFile(dir.Path() + "/game/" + path, std::string(file.begin(), file.end()));
}

core::Surface Solid(int w, int h, uint8_t value) {
  core::Surface s(w, h);
  std::memset(s.Data(), value, s.SizeBytes());
  return s;
}

// A masked picture (colour half, then an opaque black mask half).
core::Surface Masked(int w, int h, uint8_t colour) {
  core::Surface s(2 * w, h);
  for (int y = 0; y < h; ++y) std::memset(s.Row(y), colour, static_cast<size_t>(w) * 3);
  return s;
}

GameRun Play(const TempDir& dir, const std::string& script, const std::string& events) {
  return PlayGame(dir, {script, kInstance}, events);
}

TEST(Choices, AreaListOffersItemsByConditionAndTheFirstListedWins) {
  TempDir dir;
  WritePicture(dir, "cg/sel.bmp", Solid(800, 600, 0x30));
  const std::string script =
      "$selarea cg\\sel.bmp\n"
      "(10,10,100,50,first,0)\n"
      "(10,10,200,100,second,0)\n"
      "(300,300,400,400,flagged,7)\n"
      "selend\n"
      ":first\nchose first\n$eventflag 7 1\n$jmp again\n"
      ":second\nchose second\n"
      ":again\n$selarea cg\\sel.bmp\n"
      "(300,300,400,400,flagged,7)\n"
      "selend\n"
      ":flagged\nchose flagged\n";
  GameRun run = Play(dir, script, "idle\nstate list\nclick 100 50\nidle\nclick 400 400\nidle\n");
  EXPECT_EQ(JsonString(run.State("list"), "halted"), "choice");
  EXPECT_THAT(run.Events(),
              ::testing::IsSupersetOf({"choice 2 items", "pick 0 first", "text chose first",
                                       "choice 1 items", "text chose flagged"}));
  EXPECT_THAT(run.Events(), ::testing::Not(Contains("text chose second")));
}

TEST(Choices, WordBarsStackWithoutGapsAndShowTheirText) {
  TempDir dir;
  WritePicture(dir, "cg/menu/bar_a.bmp", Masked(800, 22, 0x20));
  WritePicture(dir, "cg/menu/menubar.bmp", Masked(400, 40, 0x90));
  const std::string script =
      "$selword\n"
      "(one,0,あいう)\n"
      "(hidden,5,えお)\n"
      "\n"
      "(two,0,かき)\n"
      "(three,0,くけこ)\n"
      "selend\n"
      ":one\n:two\nchose two\n:three\n";
  GameRun run = Play(dir, script, "idle\nstate list\nshot bars\nclick 250 125\nidle\n");
  EXPECT_THAT(JsonInts(run.State("list"), "choiceRects"),
              ElementsAre(240, 640, 70, 105, 241, 641, 120, 155, 242, 642, 170, 205));
  Capture shot = ReadCapture(run.outDir + "/bars.png");
  ASSERT_EQ(shot.width, 800);
  EXPECT_NEAR(shot.At(245, 75).r, 0x90, 2);      // the bar, fully faded in
  EXPECT_EQ(shot.At(245, 115), (Rgb{0, 0, 0}));  // no bar for the removed item
  EXPECT_THAT(run.Events(), ::testing::IsSupersetOf({"pick 1 two", "text chose two"}));
}

TEST(Choices, FlagListUnlocksByImageSeenFlagsInGalleryMode) {
  TempDir dir;
  WritePicture(dir, "cg/base.bmp", Solid(800, 600, 0x10));
  WritePicture(dir, "cg/open.bmp", Solid(800, 600, 0xA0));
  WritePicture(dir, "cg/hover.bmp", Solid(800, 600, 0xF0));
  WritePicture(dir, "cg/01seen.bmp", Solid(800, 600, 0x40), true);
  // Showing image 01 marks it seen; the gallery then offers item 1 only. The list starts reading
  // on the command's own line end, so an empty first entry precedes the items.
  const std::string script =
      "$effect 1\n$imgblt cg\\01seen.bmp\n"
      "$flagselect (cg\\base.bmp,cg\\open.bmp,cg\\hover.bmp) CGMODE\n"
      "(0,0,99,99,pic1,1)\n"
      "(200,0,299,99,pic2,2)\n"
      "$flagselend\n"
      ":pic1\nopened\n:pic2\n";
  GameRun run = Play(dir, script,
                     "idle\nmove 500 500\nshot gallery\nclick 250 50\nidle\nclick 50 50\nidle\n");
  Capture shot = ReadCapture(run.outDir + "/gallery.png");
  EXPECT_EQ(shot.At(50, 50), (Rgb{0xA0, 0xA0, 0xA0}));
  EXPECT_EQ(shot.At(250, 50), (Rgb{0x10, 0x10, 0x10}));
  EXPECT_THAT(run.Events(),
              ::testing::IsSupersetOf({"choice 2 items", "pick 1 pic1", "text opened"}));
  EXPECT_THAT(run.Events(), ::testing::Not(Contains(HasSubstr("pic2"))));
}

TEST(Choices, BadItemsAndOverfullListsAreReportedAndKeepWhatWasRead) {
  TempDir dir;
  WritePicture(dir, "cg/sel.bmp", Solid(800, 600, 0x30));
  std::string items;
  for (int i = 0; i < 50; ++i) items += "(0,0,10,10,a" + std::to_string(i) + ",0)\n";
  const std::string script =
      "$selarea cg\\sel.bmp\n(0,0,10,10,ok,0)\n; a comment\nselend\n"
      ":ok\n$selarea cg\\sel.bmp\n" +
      items + "selend\n:a0\ndone\n";
  GameRun run = Play(dir, script, "idle\nstate one\nclick 5 5\nidle\nstate full\nclick 5 5\n");
  EXPECT_EQ(JsonInt(run.State("one"), "choiceCount"), 1);
  EXPECT_EQ(JsonInt(run.State("full"), "choiceCount"), 48);
  auto events = run.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(),
                       "msgbox 選択 | メニューの範囲指定に誤りがあります -> ok"),
            2);
  EXPECT_THAT(events, Contains("text done"));
}

TEST(Choices, NameEntryCommandStoresTheNameForThePlaceholder) {
  TempDir dir;
  GameRun run =
      Play(dir, "$name_entry\n＊＊＊さん\n$C\n", "name ながいながいなまえ\nname ゆう\nidle\n");
  EXPECT_THAT(run.Events(), Contains("name ながいながいなまえ -> refused"));
  EXPECT_THAT(run.Events(), Contains("text ゆうさん"));
}

}  // namespace
}  // namespace qv::test
