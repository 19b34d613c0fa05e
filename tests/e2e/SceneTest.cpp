// Playing picture commands headless: backgrounds, fills, sprites, copies, marks and captures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"
#include "support/PngReader.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
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

TEST(Scene, BackgroundIsUnscrambledAndShownByTheCut) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$imgblt cg\\bg\\sky.bmp\n$C\n", kInstance});
  WritePicture(dir, "cg/bg/sky.bmp", Gradient(), true);
  GameRun run = Play(dir, "idle\nshot s\nstate t\n");
  EXPECT_THAT(run.Events(), Contains(HasSubstr("picture ")));
  EXPECT_THAT(run.Events(), Contains("transition 1 1"));
  Capture shot = ReadCapture(run.outDir + "/s.png");
  ASSERT_EQ(shot.width, 640);
  EXPECT_EQ(shot.At(0, 0), (Rgb{0, 0, 40}));
  EXPECT_EQ(shot.At(639, 479), (Rgb{213, 239, 40}));
  EXPECT_EQ(JsonString(run.State("t"), "backgroundName"), "cg\\bg\\sky.bmp");
}

TEST(Scene, MissingOrUnscrambledBackgroundIsReportedAndPresentedBlackKeepingTheName) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$imgblt cg\\a.bmp\n$imgblt cg\\none.bmp\n$C\n"
                  "$imgblt cg\\plain.bmp\n$C\n",
                  kInstance});
  WritePicture(dir, "cg/a.bmp", Gradient(), true);
  WritePicture(dir, "cg/plain.bmp", Gradient(), false);  // refused, not misread
  GameRun run = Play(dir, "idle\nshot s\nstate t\nclick 1 1\nidle\nshot u\n");
  for (const char* name : {"none.bmp", "plain.bmp"}) {
    EXPECT_THAT(run.Events(),
                Contains(AllOf(HasSubstr("以下の画像ファイルが存在しないか、破損しています"),
                               HasSubstr(name))));
  }
  EXPECT_EQ(ReadCapture(run.outDir + "/s.png").At(320, 240), (Rgb{0, 0, 0}));
  EXPECT_EQ(JsonString(run.State("t"), "backgroundName"), "cg\\a.bmp");
  EXPECT_EQ(ReadCapture(run.outDir + "/u.png").At(10, 10), (Rgb{0, 0, 0}));
}

TEST(Scene, NumberedImagesAreMarkedSeenOthersAreNot) {
  TempDir dir;
  WriteGame(dir, {"$effect 0\n$imgblt cg\\12night.bmp\n$imgblt cg\\07\\x.bmp\n"
                  "$imgblt cg\\bg\\05a.bmp\n$C\n",
                  kInstance});
  WritePicture(dir, "cg/12night.bmp", Gradient(), true);
  WritePicture(dir, "cg/07/x.bmp", Gradient(), true);
  WritePicture(dir, "cg/bg/05a.bmp", Gradient(), true);
  GameRun run = Play(dir, "idle\nstate s\n");
  std::vector<long> seen = JsonInts(run.State("s"), "imageSeenFlags");
  ASSERT_EQ(seen.size(), 19u);
  EXPECT_EQ(seen[11], 1);
  EXPECT_EQ(seen[6], 1);  // "07\x.bmp": the two digits right after the first backslash
  EXPECT_EQ(seen[4], 0);
  std::string env = ReadFile(dir.Path() + "/game/save/env.dat");
  ASSERT_EQ(env.size(), 56u);
  EXPECT_EQ(env[16 + 11], 1);
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

TEST(Scene, SpritesStandOnTheBottomRowAndAreRemembered) {
  TempDir dir;
  WriteGame(dir, {"$effect 1\n$fill black\n$sprite 1 100 cg\\chr\\a.bmp\n$C\n"
                  "$sprite 0 -10 cg\\missing.bmp\n$C\n",
                  kInstance});
  WritePicture(dir, "cg/chr/a.bmp", Sprite(40, 100, 0, 0, 255), false);
  GameRun run = Play(dir, "idle\nshot s\nstate t\nclick 1 1\nidle\nstate u\n");
  Capture shot = ReadCapture(run.outDir + "/s.png");
  // Inside the mask's square: red at a = 254 over black, (255 * 254) >> 8 = 253.
  EXPECT_EQ(shot.At(100 + 20, 479), (Rgb{253, 0, 0}));
  EXPECT_EQ(shot.At(100 + 20, 479 - 76), (Rgb{0, 0, 0}));  // above the square: mask white
  EXPECT_EQ(shot.At(100 + 5, 479), (Rgb{0, 0, 0}));
  std::string t = run.State("t");
  EXPECT_EQ(JsonInts(t, "spriteActive"), (std::vector<long>{0, 1}));
  EXPECT_EQ(JsonInts(t, "spriteX"), (std::vector<long>{0, 100}));
  // A missing sprite is reported with the path as written; the slot is still recorded.
  EXPECT_THAT(run.Events(), Contains(HasSubstr("　：cg\\missing.bmp")));
  EXPECT_EQ(JsonInts(run.State("u"), "spriteActive"), (std::vector<long>{1, 1}));
}

TEST(Scene, BltCopiesARectangleOfTheSceneWithoutATransition) {
  TempDir dir;
  WriteGame(dir, {"$effect 0\n$imgblt cg\\a.bmp\n$blt (0,0,100,50,200,300)\n$C\n", kInstance});
  WritePicture(dir, "cg/a.bmp", Gradient(), true);
  GameRun run = Play(dir, "idle\nshot s\n");
  Capture shot = ReadCapture(run.outDir + "/s.png");
  EXPECT_EQ(shot.At(0, 0), (Rgb{200 / 3, 300 / 2, 40}));
  EXPECT_EQ(shot.At(99, 49), (Rgb{299 / 3, 349 / 2, 40}));
  EXPECT_EQ(shot.At(100, 0), (Rgb{0, 0, 0}));  // effect 0 presented nothing else
}

TEST(Scene, ScreenEffectsOffGivesTheCutForEveryNumberButZero) {
  TempDir dir;
  WriteGame(dir, {"$effect 8\n$fill white\n$C\n", kInstance});
  GameRun run = Play(dir, "menu 40031\nrclick 1 1\nidle\nshot s\n");
  EXPECT_EQ(ReadCapture(run.outDir + "/s.png").At(1, 1), (Rgb{255, 255, 255}));
}

TEST(Scene, FrameWidthsThatAreNotMultiplesOfFourAreRefused) {
  TempDir dir;
  GameRun run =
      PlayGame(dir, {"x\n", "InstanceName=\"odd\" WindowWidth=\"642\" WindowHeight=\"480\""}, "");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.Events()[0], HasSubstr("multiple of 4"));
}

TEST(Scene, SamePictureEventsGiveTheSameCaptures) {
  TempDir dir;
  WriteGame(dir, {"$effect 4\n$imgblt cg\\a.bmp\n$effect 8\n$fill blue\n$effect 21\n"
                  "$maskefct cg\\m.bmp\n$fill white\n$C\n",
                  kInstance});
  WritePicture(dir, "cg/a.bmp", Gradient(), true);
  std::vector<uint8_t> indices(640 * 480);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 640 / 3);
  std::vector<uint8_t> mask = graphics::EncodeMask(640, 480, indices);
  WriteFile(dir.Path() + "/game/cg/m.bmp", std::string(mask.begin(), mask.end()));
  GameRun first = Play(dir, "wait 100\nshot a\nwait 700\nshot b\nidle\nshot c\n");
  GameRun second = Play(dir, "wait 100\nshot a\nwait 700\nshot b\nidle\nshot c\n");
  EXPECT_EQ(first.log, second.log);
  for (const char* name : {"/a.png", "/b.png", "/c.png"}) {
    EXPECT_EQ(ReadFile(first.outDir + name), ReadFile(second.outDir + name)) << name;
  }
  // The mask transition ends within rounding of the new picture.
  Rgb last = ReadCapture(first.outDir + "/c.png").At(7, 7);
  EXPECT_GE(last.r, 253);
  EXPECT_GE(last.b, 253);
}

TEST(SampleGame, TitleNameChoiceAndScenesGiveTheSameCapturesOnEveryRun) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  // Start from the title (the name is asked first), through the morning to the word choice,
  // breakfast, and on into the tour of transitions.
  const std::string events =
      "idle\nshot title\nclick 400 324\nname ゆう\nidle\nclick 1 1\nwait 500\nshot fading\n"
      "idle\nclick 1 1\nidle\nshot room\nclick 1 1\nidle\nclick 1 1\nidle\nshot bars\n"
      "click 300 130\nidle\nclick 1 1\nwait 3000\nshot tour\nidle\nshot band\n";
  GameRun first = Play(dir, events);
  GameRun second = Play(dir, events);
  EXPECT_EQ(first.log, second.log);
  for (const char* name :
       {"/title.png", "/fading.png", "/room.png", "/bars.png", "/tour.png", "/band.png"}) {
    std::string a = ReadFile(first.outDir + name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, ReadFile(second.outDir + name)) << name;
  }
  Capture room = ReadCapture(first.outDir + "/room.png");
  ASSERT_EQ(room.width, 800);
  const auto log = first.Events();
  EXPECT_THAT(log, Contains("pick 0 opening"));
  EXPECT_THAT(log, Contains("text 陽菜「おはよう、ゆう。今日は約束の日だったよね」"));
  EXPECT_THAT(log, Contains("choice 3 items"));
  EXPECT_THAT(log, Contains("pick 1 rice"));
  EXPECT_THAT(log, Contains("transition 21 33"));
}

TEST(SampleGame, MusicAndVoiceAreRecordedAsDecodedAtTheirVolumes) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  // The theme plays from the title on; the first voice line comes with the third page.
  GameRun run = Play(dir,
                     "idle\nclick 400 324\nname ゆう\nidle\nclick 1 1\nidle\nclick 1 1\n"
                     "idle\nwait 3000\nclose\n");
  const auto log = run.Events();
  EXPECT_THAT(log, Contains("music play bgm\\theme.ogg"));
  EXPECT_THAT(log, Contains("voice play voice\\hina01.ogg"));
  EXPECT_THAT(log, Contains("voice end"));

  // No env.dat yet: music at the BGM volume of 75 %, the voice at the SE volume of 100 %.
  const DecodedOgg voice = DecodeOgg(ReadFile(dir.Path() + "/game/voice/hina01.ogg"));
  const auto voiceWav = ReadWav(run.outDir + "/voice.wav");
  ASSERT_TRUE(voiceWav);
  EXPECT_EQ(voiceWav->rate, voice.rate);
  EXPECT_EQ(voiceWav->samples, AtVolume(voice.samples, 100));

  const DecodedOgg theme = DecodeOgg(ReadFile(dir.Path() + "/game/bgm/theme.ogg"));
  const std::vector<int16_t> themeAt75 = AtVolume(theme.samples, 75);
  const auto musicWav = ReadWav(run.outDir + "/music.wav");
  ASSERT_TRUE(musicWav);
  EXPECT_EQ(musicWav->rate, theme.rate);
  EXPECT_EQ(musicWav->channels, theme.channels);
  ASSERT_GT(musicWav->samples.size(), size_t(theme.rate) * 2);
  for (size_t i = 0; i < musicWav->samples.size(); ++i) {
    ASSERT_EQ(musicWav->samples[i], themeAt75[i % themeAt75.size()]) << "sample " << i;
  }
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
  // The first entry is the empty one the list reads on its own command's line; then the sakura
  // image and the way back.
  EXPECT_EQ(JsonInt(run.State("gallery"), "choiceCount"), 3);
  const auto log = run.Events();
  EXPECT_THAT(log, Contains("pick 1 view_sakura"));
  EXPECT_THAT(log, Contains("picture cg\\01sakura.bmp"));
  EXPECT_THAT(log, Contains(HasSubstr("title")));
  EXPECT_EQ(JsonInt(run.State("title"), "choiceCount"), 4);
}

}  // namespace
}  // namespace qv::test
