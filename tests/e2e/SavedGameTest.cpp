// Saving and loading games headless where the slot files or the script change between runs:
// refused saves and a replay cut short. The other save-and-load paths are golden replays.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utime.h>

#include <ctime>
#include <filesystem>

#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
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

std::string Slot(const TempDir& dir, int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "save%02d.sav", slot);
  return dir.Path() + "/game/save/" + name;
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

}  // namespace
}  // namespace qv::test
