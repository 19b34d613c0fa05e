// Playing picture commands headless: backgrounds, fills, sprites, copies, marks and captures;
// and the sample game played through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
#include "support/PngReader.h"

namespace qv::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kInstance = "InstanceName=\"scene\" WindowName=\"絵\"\n";

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
                  bool scrambled) {
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

// Numbered event images are marked seen (in env.dat too); a background that cannot be read is
// reported and presented black, and the scene keeps the name of the last one that could.
TEST(Scene, BackgroundsAreUnscrambledShownAndMarkedSeen) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$imgblt cg\\12night.bmp\n$imgblt cg\\07\\x.bmp\n"
                  "$imgblt cg\\bg\\05a.bmp\n$C\n$imgblt cg\\none.bmp\n$C\n",
                  kInstance});
  for (const char* path : {"cg/12night.bmp", "cg/07/x.bmp", "cg/bg/05a.bmp"}) {
    WritePicture(dir, path, Gradient(), true);
  }
  GameRun run = Play(dir, "idle\nshot s\nstate t\nclick 1 1\nidle\nshot u\nstate v\n");
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

  EXPECT_THAT(run.Events(),
              Contains(AllOf(HasSubstr("以下の画像ファイルが存在しないか、破損しています"),
                             HasSubstr("none.bmp"))));
  EXPECT_EQ(ReadCapture(run.outDir + "/u.png").At(320, 240), (Rgb{0, 0, 0}));
  EXPECT_EQ(JsonString(run.State("v"), "backgroundName"), "cg\\bg\\05a.bmp");
}

TEST(Scene, FillsNameTheBackgroundAndTheLaterColourWins) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$fill red\n$C\n$fill blue and green\n$C\n", kInstance});
  GameRun run = Play(dir, "idle\nshot red\nstate a\nclick 1 1\nidle\nshot blue\nstate b\n");
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
  for (int page = 0; page < 10; ++page) events += "click 1 1\nidle\n";
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
  for (const char* line :
       {"music play bgm\\theme.ogg", "pick 0 opening",
        "text 陽菜「おはよう、ゆう。今日は約束の日だったよね」", "voice play voice\\hina01.ogg",
        "choice 3 items", "pick 1 rice", "transition 21 33", "text ―― おしまい ――"}) {
    EXPECT_THAT(log, Contains(line));
  }
  // Every command was understood and every jump found its label on the way.
  std::vector<std::string> boxes;
  std::copy_if(log.begin(), log.end(), std::back_inserter(boxes),
               [](const std::string& e) { return e.starts_with("msgbox"); });
  EXPECT_THAT(boxes, ElementsAre("msgbox 確認 | 終了します。 -> ok"));
  EXPECT_EQ(log.back(), "exit 0");
}

TEST(SampleGame, GalleryOpensOnlyTheImagesSeen) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  // The first run sees the sakura image and closes; the second finds it open in the gallery.
  Play(dir, "idle\nclick 400 324\nname ゆう\nidle\nclick 1 1\nidle\nclose\n");
  GameRun run = Play(dir,
                     "idle\nclick 400 448\nidle\nstate gallery\nclick 160 250\nidle\n"
                     "click 1 1\nidle\nclick 400 490\nidle\nstate title\n");
  EXPECT_EQ(JsonInts(run.State("gallery"), "imageSeenFlags")[0], 1);
  // The empty entry the list reads on its own command's line, the sakura image, the way back.
  EXPECT_EQ(JsonInt(run.State("gallery"), "choiceCount"), 3);
  EXPECT_THAT(run.Events(), Contains("pick 1 view_sakura"));
  EXPECT_THAT(run.Events(), Contains("picture cg\\01sakura.bmp"));
  EXPECT_EQ(JsonInt(run.State("title"), "choiceCount"), 4);
}

}  // namespace
}  // namespace qv::test
