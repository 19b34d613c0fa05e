// Playing picture and choice commands headless: backgrounds, fills, sprites, copies, marks,
// choice lists and the name entry; and the sample game played through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
#include "support/PngReader.h"

namespace qv::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kInstance = "InstanceName=\"scene\" WindowName=\"絵\"\n";
const std::string kChoiceInstance =
    "InstanceName=\"choice\" WindowName=\"選択\" WindowWidth=\"800\" WindowHeight=\"600\"\n";

// A 640 x 480 background whose colour tells where a pixel came from: red = x / 3, green = y / 2.
core::Surface Gradient(int width = 640, int height = 480) {
  core::Surface picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = picture.Row(y) + 3 * x;
      p[0] = 40;
      p[1] = static_cast<uint8_t>(y / 2);
      p[2] = static_cast<uint8_t>(x / 3);
    }
  }
  return picture;
}

void WritePicture(const TempDir& dir, const std::string& path, const core::Surface& picture,
                  bool scrambled = false) {
  std::vector<uint8_t> file = graphics::EncodeBitmap(picture);
  if (scrambled) graphics::ScrambleBackground(file);
  WriteFile(dir.Path() + "/game/" + path, std::string(file.begin(), file.end()));
}

// A sprite of w x h: a solid colour inside, its mask black inside a centred square, white
// around it.
core::Surface Sprite(int w, int h, uint8_t blue, uint8_t green, uint8_t red) {
  core::Surface picture(2 * w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* colour = picture.Row(y) + 3 * x;
      colour[0] = blue;
      colour[1] = green;
      colour[2] = red;
      bool inside = x >= w / 4 && x < 3 * w / 4 && y >= h / 4;
      uint8_t* mask = picture.Row(y) + 3 * (w + x);
      mask[0] = mask[1] = mask[2] = inside ? 0 : 255;
    }
  }
  return picture;
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

// Numbered event images are marked seen (in env.dat too); after a background that cannot be
// read the scene keeps the name of the last one that could; fills name themselves.
TEST(Scene, BackgroundsAndFillsAreShownNamedAndMarkedSeen) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$imgblt cg\\12night.bmp\n$imgblt cg\\07\\x.bmp\n"
                  "$imgblt cg\\bg\\05a.bmp\n$C\n$imgblt cg\\none.bmp\n$C\n$fill red\n$C\n"
                  "$fill blue and green\n$C\n",
                  kInstance});
  for (const char* path : {"cg/12night.bmp", "cg/07/x.bmp", "cg/bg/05a.bmp"}) {
    WritePicture(dir, path, Gradient(), true);
  }
  GameRun run = Play(dir,
                     "idle\nshot s\nstate t\nclick 1 1\nidle\nshot u\nstate v\nclick 1 1\nidle\n"
                     "shot red\nstate a\nclick 1 1\nidle\nshot blue\nstate b\n");
  EXPECT_THAT(run.Events(), Contains("transition 1 1"));
  Capture shot = ReadCapture(run.outDir + "/s.png");
  ASSERT_EQ(shot.width, 640);
  EXPECT_EQ(shot.At(0, 0), (Rgb{0, 0, 40}));
  EXPECT_EQ(shot.At(639, 479), (Rgb{213, 239, 40}));
  EXPECT_EQ(JsonString(run.State("t"), "backgroundName"), "cg\\bg\\05a.bmp");
  std::vector<long> seen = JsonInts(run.State("t"), "imageSeenFlags");
  ASSERT_EQ(seen.size(), 19u);
  EXPECT_EQ(seen[11], 1);
  EXPECT_EQ(seen[6], 1);  // "07\x.bmp": the two digits right after the first backslash
  EXPECT_EQ(seen[4], 0);
  std::string env = ReadFile(dir.Path() + "/game/save/env.dat");
  ASSERT_EQ(env.size(), 56u);
  EXPECT_EQ(env[16 + 11], 1);

  EXPECT_EQ(ReadCapture(run.outDir + "/u.png").At(320, 240), (Rgb{0, 0, 0}));
  EXPECT_EQ(JsonString(run.State("v"), "backgroundName"), "cg\\bg\\05a.bmp");
  // Fills name the background, and of two colours the later one wins.
  EXPECT_EQ(ReadCapture(run.outDir + "/red.png").At(5, 5), (Rgb{255, 0, 0}));
  EXPECT_EQ(JsonString(run.State("a"), "backgroundName"), "FILL_RED");
  EXPECT_EQ(ReadCapture(run.outDir + "/blue.png").At(5, 5), (Rgb{0, 0, 255}));
  EXPECT_EQ(JsonString(run.State("b"), "backgroundName"), "FILL_BLUE");
}

// A sprite stands on the bottom row; a rectangle copied by blt shows without a transition.
TEST(Scene, SpritesAndCopiedRectanglesLandWhereTheyShould) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$fill black\n$sprite 1 100 cg\\chr\\a.bmp\n$C\n$effect 0\n"
                  "$imgblt cg\\a.bmp\n$blt (0,0,100,50,200,300)\n$C\n",
                  kInstance});
  WritePicture(dir, "cg/chr/a.bmp", Sprite(40, 100, 0, 0, 255), false);
  WritePicture(dir, "cg/a.bmp", Gradient(), true);
  GameRun run = Play(dir, "idle\nshot s\nstate t\nclick 1 1\nidle\nshot b\n");
  Capture shot = ReadCapture(run.outDir + "/s.png");
  // Inside the mask's square: red at a = 254 over black, (255 * 254) >> 8 = 253.
  EXPECT_EQ(shot.At(100 + 20, 479), (Rgb{253, 0, 0}));
  EXPECT_EQ(shot.At(100 + 20, 479 - 76), (Rgb{0, 0, 0}));  // above the square: mask white
  EXPECT_EQ(shot.At(100 + 5, 479), (Rgb{0, 0, 0}));
  EXPECT_EQ(JsonInts(run.State("t"), "spriteActive"), (std::vector<long>{0, 1}));
  EXPECT_EQ(JsonInts(run.State("t"), "spriteX"), (std::vector<long>{0, 100}));
  Capture copied = ReadCapture(run.outDir + "/b.png");
  EXPECT_EQ(copied.At(0, 0), (Rgb{200 / 3, 300 / 2, 40}));
  EXPECT_EQ(copied.At(99, 49), (Rgb{299 / 3, 349 / 2, 40}));
  EXPECT_EQ(copied.At(100, 0), (Rgb{0, 0, 0}));  // effect 0 presented nothing else
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
  GameRun run =
      PlayGame(dir, {script, kChoiceInstance}, "idle\nclick 100 50\nidle\nclick 400 400\nidle\n");
  EXPECT_THAT(run.Events(),
              ::testing::IsSupersetOf({"choice 2 items", "pick 0 first", "text chose first",
                                       "choice 1 items", "text chose flagged"}));
  EXPECT_THAT(run.Events(), ::testing::Not(Contains("text chose second")));
}

TEST(Choices, APickWhoseLabelIsMissingIsShownAndClosesTheGame) {
  TempDir dir;
  WritePicture(dir, "cg/sel.bmp", Solid(800, 600, 0x30));
  const std::string script = "$selarea cg\\sel.bmp\n(10,10,100,50,nowhere,0)\nselend\nafter\n";
  GameRun run = PlayGame(dir, {script, kChoiceInstance}, "idle\nclick 50 30\nidle\n");
  EXPECT_THAT(run.Events(),
              ::testing::IsSupersetOf({"pick 0 nowhere", "msgbox 選択 | :nowhere -> ok"}));
  EXPECT_THAT(run.Events(), ::testing::Not(Contains("text after")));
  EXPECT_EQ(run.exitCode, 0);
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
  GameRun run = PlayGame(dir, {script, kChoiceInstance},
                         "idle\nstate list\nshot bars\nclick 250 125\nidle\n");
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
  GameRun run =
      PlayGame(dir, {script, kChoiceInstance},
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
  GameRun run = PlayGame(dir, {script, kChoiceInstance},
                         "idle\nstate one\nclick 5 5\nidle\nstate full\nclick 5 5\n");
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
  EXPECT_THAT(PlayGame(dir, {"$name_entry\n＊＊＊さん\n$C\n", kChoiceInstance}, "name ゆう\nidle\n")
                  .Events(),
              Contains("text ゆうさん"));
}

// From the title (the name is asked first) through the morning to the word choice, breakfast,
// the tour of transitions, and on to the end of the script.
TEST(SampleGame, PlaysToItsEndGivingTheSameCapturesOnEveryRun) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  std::string events =
      "idle\nshot title\nclick 400 324\nname ゆう\nidle\nclick 1 1\nwait 500\nshot fading\n"
      "idle\nclick 1 1\nidle\nshot room\nclick 1 1\nidle\nclick 1 1\nidle\nshot bars\n"
      "click 300 130\nidle\nclick 1 1\nwait 3000\nshot tour\nidle\nshot band\n";
  for (int page = 0; page < 12; ++page) events += "click 1 1\nidle\n";
  GameRun first = Play(dir, events);
  GameRun second = Play(dir, events);
  EXPECT_EQ(first.log, second.log);
  for (const char* name :
       {"/title.png", "/fading.png", "/room.png", "/bars.png", "/tour.png", "/band.png"}) {
    std::string a = ReadFile(first.outDir + name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, ReadFile(second.outDir + name)) << name;
  }
  EXPECT_EQ(ReadCapture(first.outDir + "/room.png").width, 800);
  const auto log = first.Events();
  for (const char* line : {"music play bgm\\theme.ogg", "pick 0 opening",
                           "text 陽菜「おはよう、ゆう。今日は約束の日だったよね」",
                           "voice play voice\\hina01.ogg", "choice 3 items", "pick 1 rice",
                           "transition 21 33", "pick 0 shops", "text ―― おしまい ――"}) {
    EXPECT_THAT(log, Contains(line));
  }
  // Every command was understood and every jump found its label on the way.
  std::vector<std::string> boxes;
  std::copy_if(log.begin(), log.end(), std::back_inserter(boxes),
               [](const std::string& e) { return e.starts_with("msgbox"); });
  EXPECT_THAT(boxes, ElementsAre("msgbox 確認 | 終了します。 -> ok"));
  EXPECT_EQ(log.back(), "exit 0");
}

}  // namespace
}  // namespace qv::test
