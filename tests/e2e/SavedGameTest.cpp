// Saving and loading games headless: the save and load screens over a game made of the sample's
// pictures, slot files written, refused and read back, and the page resumed where it was saved.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utime.h>
#include <algorithm>
#include <cstring>

#include <ctime>
#include <filesystem>

#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
#include "support/PngReader.h"
#include "support/ScopedEnv.h"

namespace qv::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;

const std::string kInstance =
    "InstanceName=\"saves\" WindowName=\"セーブ\" WindowWidth=\"800\" WindowHeight=\"600\"\n";

// The bar's save and load buttons, the return button and slots 1 and 2 of the screens.
const std::string kSaveButton = "click 450 589\nidle\n";
const std::string kLoadButton = "click 550 589\nidle\n";
const std::string kReturn = "click 100 110\nidle\n";
const std::string kSlot1 = "click 100 190\nidle\n";
const std::string kSlot2 = "click 100 250\nidle\n";

// The sample's pictures with a script of the test's own (game.ist and game.qv come first by name).
void WriteGameWithPictures(const TempDir& dir, const std::string& script) {
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  std::filesystem::remove(dir.Path() + "/game/cg/menu/logo.bmp");
  WriteGame(dir, {script, kInstance});
}

// The events without the slot list and the pictures read for it.
std::vector<std::string> Plot(const GameRun& run) {
  std::vector<std::string> out;
  for (const std::string& e : run.Events()) {
    if (!e.starts_with("slot ") && !e.starts_with("picture ")) out.push_back(e);
  }
  return out;
}

// The plot from `event` on; empty when it never came.
std::vector<std::string> From(const GameRun& run, const std::string& event) {
  const std::vector<std::string> plot = Plot(run);
  return {std::find(plot.begin(), plot.end(), event), plot.end()};
}

std::string Slot(const TempDir& dir, int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "save%02d.sav", slot);
  return dir.Path() + "/game/save/" + name;
}

// One page with music changes, a voice purge and a flag and a point in it; saved at its second
// "$C", loaded by a new run.
const std::string kPageScript =
    "$flagreset\n$windowopen\n$statetitle 第一話\n$OGGPlay bgm\\theme.ogg\n$effect 1\n"
    "$imgblt cg\\bg\\room.bmp\n$sprite 0 120 cg\\chara\\hina.bmp\n"
    ":page1\n$OGGPlay bgm\\evening.ogg\n一行目\n$C\n$eventflag 3\n$pointflag 2 5\n"
    "$OGGPlay bgm\\theme.ogg\n$talk purge\n二行目\n$C\n$P\n三行目\n$C\n";

TEST(SavedGame, ALoadInANewRunResumesAtTheSavedLineWithThePageAndStateAsTheyWere) {
  TempDir dir;
  WriteGameWithPictures(dir, kPageScript);
  GameRun saving = Play(dir, "idle\nclick 400 300\nidle\nshot game\nstate game\n" + kSaveButton +
                                 "state screen\n" + kSlot1 + kReturn + "shot back\nstate back\n");
  EXPECT_THAT(Plot(saving), IsSupersetOf({"screen save", "save 1 -> written", "screen close"}));
  EXPECT_THAT(saving.log, HasSubstr("|  第一話\n"));  // the space after the command word stays
  EXPECT_EQ(JsonInt(saving.State("screen"), "screenMode"), 10);
  EXPECT_EQ(JsonInts(saving.State("screen"), "slotEnabled"), std::vector<long>(13, 1));
  // The return button gives the game back exactly, the waiting cursor running again.
  EXPECT_EQ(ReadFile(saving.outDir + "/back.png"), ReadFile(saving.outDir + "/game.png"));
  EXPECT_EQ(JsonInt(saving.State("back"), "screenMode"), 0);
  EXPECT_EQ(JsonInt(saving.State("back"), "waitCursorOn"), 1);
  EXPECT_EQ(ReadFile(Slot(dir, 1)).size(), 1592u);

  GameRun loading = Play(dir, "idle\n" + kLoadButton + kSlot1 + "shot loaded\nstate loaded\n" +
                                  "click 400 300\nidle\nclick 400 300\nidle\nstate next\n");
  const auto plot = Plot(loading);
  const auto load = std::find(plot.begin(), plot.end(), "load 1 -> ok");
  ASSERT_NE(load, plot.end());
  // The page is replayed from its label, silently and at once, with the music the save had.
  const std::vector<std::string> replayed(std::find(plot.begin(), plot.end(), "screen load"), load);
  EXPECT_THAT(replayed, IsSupersetOf({"music play bgm\\theme.ogg", "text 一行目", "text 二行目"}));
  EXPECT_THAT(replayed, Contains(::testing::StartsWith("resume ")));
  EXPECT_THAT(replayed, Contains(HasSubstr(" replay")));
  EXPECT_EQ(ReadFile(loading.outDir + "/loaded.png"), ReadFile(saving.outDir + "/game.png"));
  for (const char* key : {"eventFlags", "points", "spriteActive", "spriteX"}) {
    EXPECT_EQ(JsonInts(loading.State("loaded"), key), JsonInts(saving.State("game"), key)) << key;
  }
  EXPECT_THAT(JsonString(loading.State("loaded"), "musicFileName"),
              ::testing::EndsWith("bgm\\theme.ogg"));
  EXPECT_EQ(JsonInt(loading.State("loaded"), "restoringGame"), 0);
  EXPECT_EQ(JsonString(loading.State("loaded"), "halted"), "wait");
  // The next clicks go on from the saved line.
  EXPECT_THAT(Plot(loading), Contains("text 三行目"));
  EXPECT_EQ(JsonInt(loading.State("next"), "screenMode"), 0);
}

TEST(SavedGame, ChoicesFillsAndPictureCommandsComeBackTheWayTheyWereBuilt) {
  TempDir dir;
  WriteGameWithPictures(dir,
                        "$windowopen\n$effect 1\n$fill white\n:f\n白い\n$C\n"
                        "$imgblt cg\\bg\\room.bmp\n部屋\n$imgblt cg\\bg\\sky.bmp\n空\n$C\n"
                        "$selword\n(a,0,甲)\n(b,0,乙)\nselend\n:a\n:b\nおわり\n$C\n");
  // Slot 1 at the fill, slot 2 after the picture command, slot 3 during the word choice.
  Play(dir, "idle\n" + kSaveButton + kSlot1 + kReturn + "click 400 300\nidle\n" + kSaveButton +
                kSlot2 + kReturn + "click 400 300\nidle\n" + kSaveButton + "click 100 320\nidle\n" +
                kReturn);
  GameRun fill = Play(dir, "idle\n" + kLoadButton + kSlot1 + "shot f\n");
  EXPECT_THAT(Plot(fill), Contains(HasSubstr(" replay")));
  EXPECT_EQ(ReadCapture(fill.outDir + "/f.png").At(400, 100), (Rgb{255, 255, 255}));

  GameRun picture = Play(dir, "idle\n" + kLoadButton + kSlot2 + "state p\n");
  EXPECT_THAT(From(picture, "load 2 -> ok"), Contains("text 空"));
  EXPECT_THAT(From(picture, "load 2 -> ok"), Not(Contains("text 部屋")));
  EXPECT_EQ(JsonString(picture.State("p"), "backgroundName"), "cg\\bg\\sky.bmp");

  GameRun choice = Play(dir, "idle\n" + kLoadButton + "click 100 320\nidle\nstate c\n");
  EXPECT_THAT(From(choice, "load 3 -> ok"), Contains("choice 2 items"));
  EXPECT_EQ(JsonInt(choice.State("c"), "screenMode"), 1);
}

// Files that cannot be loaded are listed but refused, and the game stays as it was; a slot's date
// is its file's last write in local time; an overwrite can be declined; the slots' edges count.
TEST(SavedGame, SlotsShowTheirFilesAndRefuseWhatCannotBeLoaded) {
  TempDir dir;
  WriteGameWithPictures(dir, "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n一\n$C\n二\n$C\n");
  Play(dir, "idle\n" + kSaveButton + kSlot1 + kReturn);
  const std::string saved = ReadFile(Slot(dir, 1));
  WriteFile(Slot(dir, 2), saved.substr(0, 1000));                  // cut short
  WriteFile(Slot(dir, 3), std::string("\x01") + saved.substr(1));  // a position inside a line
  GameRun run;
  {
    const ScopedEnv tz("TZ", "JST-9");
    tzset();
    std::tm local{};  // 2011/03/05 09:07
    local.tm_year = 111, local.tm_mon = 2, local.tm_mday = 5, local.tm_hour = 9, local.tm_min = 7;
    struct utimbuf march {};
    march.actime = march.modtime = mktime(&local);
    utime(Slot(dir, 3).c_str(), &march);
    run = Play(dir, "idle\nshot game\n" + kLoadButton + "state list\n" + kSlot2 + "state after\n" +
                        "click 100 320\nidle\n" + kReturn + kSaveButton + "answer cancel\n" +
                        "click 35 173\nidle\nclick 34 240\nidle\n" + kReturn + "shot end\n");
  }
  tzset();
  EXPECT_THAT(run.log, HasSubstr("slot 3 2011/03/05 09:07 | \n"));
  EXPECT_THAT(run.log, HasSubstr("slot 4 --/--/-- | None\n"));
  std::vector<long> enabled(13, 0);
  enabled[0] = enabled[1] = 1;
  EXPECT_EQ(JsonInts(run.State("list"), "slotEnabled"), enabled);
  // Slot 2 does not react; slot 3's failed load keeps the screen.
  EXPECT_EQ(JsonInt(run.State("after"), "screenMode"), 20);
  EXPECT_THAT(Plot(run), Not(Contains(HasSubstr("load 2"))));
  EXPECT_THAT(Plot(run), Not(Contains(HasSubstr("load 3"))));
  // The save screen: slot 1's corner asks and keeps the file; just outside slot 2 is nothing.
  EXPECT_THAT(Plot(run), IsSupersetOf({"msgbox セーブ | 上書きしてもよろしいですか？ -> cancel",
                                       "save 1 -> kept"}));
  EXPECT_THAT(Plot(run), Not(Contains("save 2 -> written")));
  EXPECT_EQ(ReadFile(Slot(dir, 1)), saved);
  EXPECT_EQ(ReadFile(run.outDir + "/end.png"), ReadFile(run.outDir + "/game.png"));
}

// The events from the load's walk to its end: the replay.
std::vector<std::string> Replay(const GameRun& run, int slot) {
  const std::vector<std::string> plot = Plot(run);
  const auto begin = std::find_if(plot.begin(), plot.end(),
                                  [](const std::string& e) { return e.starts_with("resume "); });
  return {begin, std::find(begin, plot.end(), "load " + std::to_string(slot) + " -> ok")};
}

// The replay halts at the saved line in auto mode too (auto mode goes on after the load), asks
// nothing, and the saved line's wait runs again however long the line is.
TEST(SavedGame, TheReplayStopsAtTheSavedWaitInAnyModeAndAsksNothing) {
  TempDir dir;
  WriteGameWithPictures(dir,
                        "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n:p\n$name_entry\n"
                        "一\n$C ;待つ\n二\n$C\n三\n$S\n四\n$C\n");
  const std::string named = "idle\nname 太郎\nidle\n";
  Play(dir, named + kSaveButton + kSlot1 + kReturn);

  GameRun automatic =
      Play(dir, named + "menu 40025\nrclick 3 3\nidle\n" + kLoadButton + kSlot1 + "state a\n");
  EXPECT_THAT(Replay(automatic, 1), Contains("text 一"));
  EXPECT_THAT(Replay(automatic, 1), Not(Contains("text 二")));
  EXPECT_THAT(Replay(automatic, 1), Not(Contains(::testing::StartsWith("name"))));
  EXPECT_THAT(From(automatic, "load 1 -> ok"), IsSupersetOf({"text 二", "text 三", "halt stop"}));
  EXPECT_EQ(JsonInt(automatic.State("a"), "advanceMode"), 3);

  GameRun normal = Play(dir, named + kLoadButton + kSlot1 + "state n\nclick 20 300\nidle\n");
  EXPECT_EQ(JsonString(normal.State("n"), "halted"), "wait");
  const auto after = From(normal, "load 1 -> ok");
  const auto text = std::find_if(after.begin(), after.end(),
                                 [](const std::string& e) { return e.starts_with("text "); });
  ASSERT_NE(text, after.end());
  EXPECT_EQ(*text, "text 二");  // not the tail of "$C ;待つ"
}

// A save made while an in-game area list is up (its save button over an item, which the click
// does not also pick) loads with the list up as it was, lit where the pointer is but silently,
// and a pick goes on with the story.
TEST(SavedGame, AnAreaListSavedInGameComesBackUpAndTakesItsPick) {
  TempDir dir;
  WriteGameWithPictures(dir,
                        "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n:p\n一\n$C\n"
                        "$selarea cg\\menu\\title_on.bmp\n(50,150,250,250,a,0)\n"
                        "(400,560,700,599,c,0)\nselend\n:a\n甲\n$C\n:c\n丙\n$C\n");
  GameRun saving = Play(dir, "idle\nclick 20 300\nidle\nmove 100 190\nshot list\n" + kSaveButton +
                                 kSlot1 + kReturn + "state back\n");
  EXPECT_THAT(Plot(saving), Contains("save 1 -> written"));
  EXPECT_THAT(Plot(saving), Not(Contains(::testing::StartsWith("pick "))));
  EXPECT_EQ(JsonInt(saving.State("back"), "screenMode"), 1);

  GameRun loading = Play(
      dir, "idle\n" + kLoadButton + kSlot1 + "shot loaded\nstate loaded\nclick 100 190\nidle\n");
  EXPECT_THAT(Replay(loading, 1), Contains("choice 2 items"));
  EXPECT_THAT(Replay(loading, 1), Not(Contains(::testing::StartsWith("se "))));
  EXPECT_TRUE(ReadFile(loading.outDir + "/loaded.png") == ReadFile(saving.outDir + "/list.png"));
  EXPECT_EQ(JsonInt(loading.State("loaded"), "screenMode"), 1);
  EXPECT_EQ(JsonString(loading.State("loaded"), "halted"), "choice");
  EXPECT_THAT(From(loading, "load 1 -> ok"), IsSupersetOf({"pick 0 a", "text 甲"}));
}

// A load rebuilds the scene whatever the case of the picture's name, and a game without any
// picture gets its black scene back: the load screen never stays under the page.
TEST(SavedGame, ALoadGivesTheSceneBackWithOrWithoutAPicture) {
  for (const char* scene : {"$effect 1\n$imgblt cg\\bg\\ROOM.BMP\n", ""}) {
    TempDir dir;
    WriteGameWithPictures(dir, std::string("$windowopen\n") + scene + "一\n$C\n二\n$C\n");
    GameRun saving = Play(dir, "idle\nshot game\n" + kSaveButton + kSlot1 + kReturn);
    GameRun loading =
        Play(dir, "idle\nclick 20 300\nidle\n" + kLoadButton + kSlot1 + "shot loaded\n");
    EXPECT_THAT(Plot(loading), Contains("load 1 -> ok")) << scene;
    EXPECT_TRUE(ReadFile(loading.outDir + "/loaded.png") == ReadFile(saving.outDir + "/game.png"))
        << scene;
  }
}

// A save from another script whose page jumps back before the saved line cannot be replayed up
// to it: the replay stops within the page's halts instead of going round its loop.
TEST(SavedGame, AReplayThatJumpsBackStopsWithinThePage) {
  TempDir dir;
  const std::string script = "$windowopen\n:top\none\n$C\n$jmp top\ntwo\n$C\n";
  WriteGameWithPictures(dir, script);
  Play(dir, "idle\n" + kSaveButton + kSlot1 + kReturn);
  std::string saved = ReadFile(Slot(dir, 1));
  ASSERT_EQ(saved.size(), 1592u);
  // The position just after "$jmp top" (the file has CR LF line ends): the page from ":top"
  // never gets there.
  std::string stored = script;
  for (size_t at = 0; (at = stored.find('\n', at)) != std::string::npos; at += 2)
    stored.insert(at, "\r");
  const uint32_t position = static_cast<uint32_t>(stored.find("$jmp top") + 8);
  std::memcpy(saved.data(), &position, 4);
  WriteFile(Slot(dir, 1), saved);
  GameRun run = Play(dir, "idle\n" + kLoadButton + kSlot1 + "state loaded\n");
  EXPECT_THAT(Plot(run), Contains("load 1 -> ok"));
  EXPECT_LT(std::count(run.log.begin(), run.log.end(), '\n'), 400) << "the replay went round";
}

// A close asked for during the replay (here the script's end, reached by a script changed since
// the save whose saved line no longer halts) ends the program at once, rather than leaving the
// window thread waiting on a stopped interpreter.
TEST(SavedGame, ACloseDuringTheReplayEndsTheProgram) {
  TempDir dir;
  WriteGameWithPictures(
      dir, "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n:p\n;xit_game0\n一\n$C\n");
  Play(dir, "idle\n" + kSaveButton + kSlot1 + kReturn);
  // As many bytes up to the saved line, which is now a comment at the script's end; the game
  // halts before that page.
  WriteGame(
      dir, {"$windowopen\n$jmp zzzz\n:zzzz\n待つ\n$C\n;1234\n:p\n;xit_game0\n一\n;C\n", kInstance});
  GameRun run = Play(dir, "idle\n" + kLoadButton + kSlot1 + "click 400 300\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(Plot(run), Contains(HasSubstr(" replay")));
  EXPECT_THAT(Plot(run), Not(Contains("load 1 -> ok")));
  EXPECT_EQ(Plot(run).back(), "exit 0");
}

// The screens open only over a halted script: during a timed wait the save button neither flashes
// nor sounds, and the click is the game's.
TEST(SavedGame, TheSaveButtonStaysStillWhileTheScriptRuns) {
  TempDir dir;
  WriteGameWithPictures(
      dir, "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n一\n$C\n$wait 3000\n二\n$C\n");
  GameRun run = Play(dir, "idle\nclick 20 300\nwait 500\n" + kSaveButton + "state s\n");
  EXPECT_THAT(Plot(run), Not(Contains(HasSubstr("click.wav"))));
  EXPECT_THAT(Plot(run), Not(Contains("screen save")));
  EXPECT_EQ(JsonInt(run.State("s"), "screenMode"), 0);
}

// The sample's title offers the load screen; its return button goes back to the title's list.
TEST(SavedGame, TheSampleTitleOpensTheLoadScreenAndReturnsToItsChoices) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(tool::MakeSample(dir.Path() + "/game", cp932).succeeded);
  GameRun run = Play(dir, "idle\nclick 400 386\nidle\nstate open\n" + kReturn + "state back\n");
  EXPECT_THAT(Plot(run), Contains("screen load-title"));
  EXPECT_EQ(JsonInt(run.State("open"), "screenMode"), 30);
  EXPECT_EQ(JsonInt(run.State("open"), "previousScreenMode"), 1);
  EXPECT_EQ(JsonInt(run.State("back"), "screenMode"), 1);
  EXPECT_EQ(JsonInt(run.State("back"), "waitCursorOn"), 0);
}

// A screen whose picture is missing says so and leaves the player in the game, as it was.
TEST(SavedGame, AMissingScreenPictureKeepsThePlayerInTheGame) {
  TempDir dir;
  WriteGameWithPictures(dir, "$windowopen\n$effect 1\n$imgblt cg\\bg\\room.bmp\n一\n$C\n二\n$C\n");
  std::filesystem::remove(dir.Path() + "/game/cg/menu/save_on.bmp");
  GameRun run =
      Play(dir, "idle\nshot game\n" + kSaveButton + "state s\nshot s\nclick 400 300\nidle\n");
  EXPECT_THAT(Plot(run),
              Contains(::testing::MatchesRegex("msgbox セーブ \\| .*save_on.bmp -> ok")));
  EXPECT_THAT(Plot(run), Not(Contains("screen save")));
  EXPECT_EQ(JsonInt(run.State("s"), "screenMode"), 0);
  EXPECT_EQ(JsonInt(run.State("s"), "waitCursorOn"), 1);
  EXPECT_EQ(ReadFile(run.outDir + "/s.png"), ReadFile(run.outDir + "/game.png"));
  EXPECT_THAT(Plot(run), Contains("text 二"));
}

}  // namespace
}  // namespace qv::test
