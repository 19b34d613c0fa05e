// Playing games headless: start-up, env.dat, the menu's commands, return to title, determinism.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/FileInstanceLocks.h"
#include "support/HeadlessGame.h"
#include "support/PngReader.h"

namespace qv::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Env(const TempDir& dir) {
  return ReadFile(dir.Path() + "/game/save/env.dat");
}

TEST(Startup, NoScriptShowsTheMessageWithTheDefaultCaptionAndExitsZero) {
  TempDir dir;
  WriteFile(dir.Path() + "/game/x.ist", "InstanceName=\"only\"");
  GameRun run = Play(dir, "click 1 1\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(
      run.Events(),
      ElementsAre("msgbox DEFAULTIN | スクリプトファイルが見つかりません。 -> ok", "exit 0"));
}

TEST(Startup, SecondCopyOfTheSameGameLeavesSilently) {
  TempDir dir;
  WriteGame(dir, {"hello\n$C\n"});
  platform::posix::FileInstanceLocks locks(dir.Path());
  auto held = locks.TryAcquire("test");
  ASSERT_NE(held, nullptr);
  GameRun second = Play(dir, "");
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_THAT(second.Events(), ElementsAre("exit 0"));
  held.reset();  // the first copy ends: the game starts again
  EXPECT_THAT(Play(dir, "").Events(), Contains("text hello"));
}

TEST(Startup, FirstScriptByNameBytesWithTheExtensionInAnyCase) {
  TempDir dir;
  WriteGame(dir, {"from game\n"});
  std::string b = "from B\r\n", a = "from a\r\n";
  for (char& c : b) c = static_cast<char>(c ^ 0x5A);
  for (char& c : a) c = static_cast<char>(c ^ 0x5A);
  WriteFile(dir.Path() + "/game/B.QV", b);
  WriteFile(dir.Path() + "/game/a.qv", a);
  EXPECT_THAT(Play(dir, "").Events(), ElementsAre("text from B", "exit 0"));
}

TEST(Startup, InstanceKeysShapeTheGame) {
  TempDir dir;
  GameRun run = PlayGame(dir,
                         {"$C\n",
                          "WindowWidth=\"800\" WindowHeight=\"600\" GameType=\"1\" "
                          "BGMType=\"CDWAVE\" InstanceName=\"k\" WindowName=\"名前\""},
                         "state s\n");
  std::string s = run.State("s");
  EXPECT_EQ(JsonInt(s, "width"), 800);
  EXPECT_EQ(JsonInt(s, "height"), 600);
  EXPECT_EQ(JsonInt(s, "gameType"), 1);
  EXPECT_EQ(JsonInt(s, "bgmFromCd"), 0);
  EXPECT_EQ(JsonString(s, "windowName"), "名前");
}

TEST(Startup, UnusableFrameSizesAreRefusedWithAMessage) {
  for (const auto& [size, message] :
       {std::pair{"WindowWidth=\"wide\"", "WindowWidth=0"},
        {"WindowWidth=\"642\" WindowHeight=\"480\"", "multiple of 4"}}) {
    TempDir dir;
    GameRun run = PlayGame(dir, {"x\n", std::string("InstanceName=\"z\" ") + size}, "");
    EXPECT_EQ(run.exitCode, 1) << size;
    ASSERT_FALSE(run.Events().empty()) << size;
    EXPECT_THAT(run.Events()[0], HasSubstr(message));
  }
}

// The CD is looked for only for CD music, and a ripped track stands in for it.
TEST(Startup, CdMusicWarnsBeforeTheGameRunsUnlessRippedAndFileMusicScansNothing) {
  const std::string cd = "InstanceName=\"cd\" BGMType=\"CDDA\"";
  const struct {
    std::string instance;
    bool ripped;
    std::vector<std::string> events;
  } cases[] = {
      {cd,
       false,
       {"cd scan none", "msgbox 確認 | オーディオトラックが見つかりません -> ok", "text hello",
        "exit 0"}},
      {cd, true, {"cd scan found", "text hello", "exit 0"}},
      {"InstanceName=\"w\" BGMType=\"WAVE\"", false, {"text hello", "exit 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.events[0]);
    TempDir dir;
    if (c.ripped) WriteFile(dir.Path() + "/game/CD/Track02.OGG", "rip");
    EXPECT_EQ(PlayGame(dir, {"hello\n", c.instance}, "").Events(), c.events);
  }
}

TEST(Settings, FirstRightClickWritesTheDefaults) {
  TempDir dir;
  PlayGame(dir, {"a\n$C\n"}, "idle\n");
  EXPECT_TRUE(FileExists(dir.Path() + "/game/save"));
  EXPECT_FALSE(FileExists(dir.Path() + "/game/save/env.dat"));
  Play(dir, "idle\nrclick 10 10\n");
  std::string expected(56, '\0');
  expected[0] = 1;     // message speed 1
  expected[4] = 1;     // windowed
  expected[8] = 1;     // screen effects on
  expected[12] = 100;  // SE volume
  expected[14] = 75;   // BGM volume
  EXPECT_EQ(Env(dir), expected);
}

TEST(Settings, ShortFileReadsOverZerosAndOddValuesSurvive) {
  TempDir dir;
  WriteGame(dir, {"a\n$C\n"});
  WriteFile(dir.Path() + "/game/save/env.dat", std::string("\x07\0\0\0\x01", 5));
  GameRun run = Play(dir, "idle\nstate s\nrclick 1 1\n");
  std::string s = run.State("s");
  EXPECT_EQ(JsonInt(s, "messageSpeed"), 7);
  EXPECT_EQ(JsonInt(s, "windowed"), 1);
  EXPECT_EQ(JsonInt(s, "screenEffects"), 0);
  EXPECT_EQ(JsonInt(s, "seVolume"), 0);
  std::string env = Env(dir);
  ASSERT_EQ(env.size(), 56u);
  EXPECT_EQ(env[0], 7);
}

TEST(Settings, DamagedValuesAreClampedInMemoryWhileTheFileKeepsItsBytes) {
  TempDir dir;
  WriteGame(dir, {"a\n$C\n"});
  std::string image(56, '\0');
  image.replace(0, 4, "\xFB\xFF\xFF\xFF");   // message speed -5
  image.replace(12, 4, "\x2C\x01\xEC\xFF");  // SE volume 300, BGM volume -20
  WriteFile(dir.Path() + "/game/save/env.dat", image);
  std::string s = Play(dir, "idle\nstate s\n").State("s");
  EXPECT_EQ(JsonInt(s, "messageSpeed"), 0);
  EXPECT_EQ(JsonInt(s, "seVolume"), 100);
  EXPECT_EQ(JsonInt(s, "bgmVolume"), 0);
  EXPECT_EQ(Env(dir), image);
}

TEST(Settings, PaddingBytesAndFlagsAreWrittenBackAsReadAndRecordsOutliveTheRun) {
  TempDir dir;
  WriteGame(dir, {"$recflag 2\n$recflag 19\n$C\n"});
  std::string image(56, '\0');
  image[35] = '\xAB';
  image[55] = '\xCD';
  image[16 + 4] = 1;  // image 5 seen
  WriteFile(dir.Path() + "/game/save/env.dat", image);
  Play(dir, "idle\n");
  image[36 + 1] = image[36 + 18] = 1;  // records 2 and 19
  EXPECT_EQ(Env(dir), image);
  std::vector<long> records = JsonInts(Play(dir, "idle\nstate s\n").State("s"), "recordFlags");
  ASSERT_EQ(records.size(), 19u);
  EXPECT_EQ(records[18], 1);
}

TEST(Menu, QuitAndTitleDoNothingOnCancelAndQuitOnOkClosesTheProgram) {
  TempDir dir;
  GameRun run = PlayGame(dir, {"a\n$C\nb\n"},
                         "idle\nmenu 40001\nanswer cancel\nrclick 1 1\n"
                         "menu 40010\nanswer cancel\nrclick 1 1\nstate s\n"
                         "menu 40001\nrclick 1 1\nclick 1 1\n");
  EXPECT_THAT(
      run.Events(),
      ElementsAre("text a", "halt wait", "menu -> 40001", "msgbox 確認 | 終了します。 -> cancel",
                  "menu -> 40010", "msgbox 確認 | タイトルに戻ります -> cancel", "menu -> 40001",
                  "msgbox 確認 | 終了します。 -> ok", "exit 0"));
  EXPECT_EQ(JsonString(run.State("s"), "halted"), "wait");
}

TEST(Menu, ReturnToTitleRestartsAtTheSecondLineAndKeepsTheFlags) {
  TempDir dir;
  // The interpreter was waiting at a click: the position rule lands on byte 2, which is the
  // second line when the script begins with an empty one.
  GameRun run = PlayGame(dir, {"\nA\n$eventflag 1\n$C\nB\n$C\n"},
                         "idle\nclick 1 1\nidle\nmenu 40010\nrclick 1 1\nidle\nstate s\n");
  EXPECT_THAT(run.Events(), ElementsAre("text A", "halt wait", "text B", "halt wait",
                                        "menu -> 40010", "msgbox 確認 | タイトルに戻ります -> ok",
                                        "text A", "halt wait", "exit 0"));
  EXPECT_EQ(JsonInts(run.State("s"), "eventFlags")[1], 1);
}

TEST(Menu, ReturnToTitleFromASyncstartStretchTakesClicksAgain) {
  TempDir dir;
  GameRun run = PlayGame(dir, {"\nA\n$C\n$syncstart\nB\n$C\n"},
                         "idle\nclick 1 1\nidle\nmenu 40010\nrclick 1 1\nidle\nclick 1 1\nidle\n");
  EXPECT_THAT(run.Events(), ElementsAre("text A", "halt wait", "text B", "halt wait",
                                        "menu -> 40010", "msgbox 確認 | タイトルに戻ります -> ok",
                                        "text A", "halt wait", "text B", "halt wait", "exit 0"));
}

TEST(Menu, AboutBoxAndGreyedAutoAdvanceCannotBePicked) {
  TempDir dir;
  GameRun run =
      PlayGame(dir, {"a\n$C\n"}, "idle\nmenu 40002\nrclick 1 1\nmenu 12345\nrclick 1 1\n");
  ASSERT_GE(run.Events().size(), 5u);
  EXPECT_THAT(run.Events()[3], ::testing::StartsWith("about system version | "));
  EXPECT_EQ(run.Events()[4], "menu -> none");
}

TEST(Keys, PrintScreenWritesTheFrameAsAPngInTheSaveFolder) {
  TempDir dir;
  GameRun run = PlayGame(dir, {"$effect 1\n$fill red\n$C\n"}, "idle\nkey 0x2C\nidle\n");
  EXPECT_THAT(run.Events(), Contains("screenshot written"));
  std::vector<std::string> shots;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/game/save")) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("shot-")) shots.push_back(name);
  }
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_THAT(shots[0], ::testing::MatchesRegex("shot-[0-9]{8}-[0-9]{6}\\.png"));
  const Capture shot = ReadCapture(dir.Path() + "/game/save/" + shots[0]);
  EXPECT_EQ(shot.width, 640);
  EXPECT_EQ(shot.At(10, 10), (Rgb{255, 0, 0}));
}

TEST(Determinism, SameEventsGiveTheSameLogAndStates) {
  TempDir dir;
  TestGame game{
      "$statetitle 第一章\n:loop\n$random 1 100\n$pointflag 2 7\n$wait 250\n"
      "ＡＢＣ＊＊＊\n$C\n$pointjudge 2 21 done\n$jmp loop\n:done\n$syncstart\n"
      "$synctiming 900\nend\n$P\n"};
  std::string events =
      "idle\nclick 1 1\nwait 100\nclick 1 1\nrclick 2 2\nmenu 40025\nrclick 2 2\nidle\n"
      "state a\nmenu 40008\nrclick 3 3\nkey 0x2C\nidle\nstate b\n";
  GameRun first = PlayGame(dir, game, events);
  GameRun second = Play(dir, events);
  ASSERT_FALSE(first.log.empty());
  EXPECT_EQ(first.log, second.log);
  EXPECT_EQ(first.State("a"), second.State("a"));
  EXPECT_EQ(first.State("b"), second.State("b"));
}

}  // namespace
}  // namespace qv::test
