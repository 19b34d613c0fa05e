// The backlog over a halted game: pages, turning, voice replay, the screen given back, and the
// history's file beside a slot.
#include "shell/Backlog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/TextHistoryFile.h"
#include "platform/Message.h"
#include "script/HistoryFile.h"
#include "script/Interpreter.h"
#include "script/SavedGames.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using platform::MakePoint;
using ::testing::ElementsAre;

struct Backlog : ::testing::Test {
  FakeGame game{"x\r\n"};
  script::Engine& engine = game.engine;
  const std::string saveFolder = engine.services.baseDirectory + "\\save";

  void SetUp() override {
    ASSERT_EQ(game.CreateFrame(800, 600), 1);
    engine.view.messageFont = game.fakes.glyphs.font;
    engine.services.env.messageSpeed = 0;
    engine.services.env.seVolume = 100;
    game.fakes.files.directories.insert(saveFolder);
  }
  // Two pages: a voiced line and a plain one, then, on a page asked for, a third line.
  void TypeTwoPages() {
    for (const char* line : {"$talk v\\a.ogg", "one", "two"}) script::ExecuteLine(engine, line);
    engine.input.newPageRequested = 1;
    script::ExecuteLine(engine, "three");
  }
  std::vector<std::string> LogSince(size_t from) {
    const auto& lines = game.fakes.log.lines;
    return {lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()};
  }
};

TEST_F(Backlog, PagesTurnAVoicedLineReplaysAndClosingGivesTheScreenBackByteForByte) {
  TypeTwoPages();
  auto& g = engine.view;
  g.waitCursorOn = 1;
  std::memset(g.pageSurface.Data(), 0x20, g.pageSurface.SizeBytes());
  const core::Surface before = g.screen.Surface();
  EXPECT_EQ(shell::OpenBacklog(engine), 0);  // the script runs: nothing to read back over

  game.fakes.clock.Schedule(0, [&] {
    size_t from = game.fakes.log.lines.size();
    ASSERT_EQ(shell::OpenBacklog(engine), 1);
    EXPECT_EQ(shell::OpenBacklog(engine), 0);
    EXPECT_TRUE(shell::BacklogOpen(engine));
    EXPECT_EQ(g.waitCursorOn, 0);
    EXPECT_THAT(LogSince(from), ElementsAre("backlog open 2"));
    // The newest page: its line where the window typed it, over the window's picture.
    EXPECT_EQ(g.screen.Surface().Row(453)[41 * 3], 0xFA);
    EXPECT_EQ(g.screen.Surface().Row(453)[18 * 3], 0x20);
    const struct {
      int turn;
      std::vector<std::string> logged;
    } turns[] = {
        {1, {"backlog page 2"}}, {5, {}}, {-1, {"backlog page 1"}}, {1, {"backlog page 2"}}};
    for (const auto& t : turns) {
      from = game.fakes.log.lines.size();
      shell::TurnBacklog(engine, t.turn);
      EXPECT_EQ(LogSince(from), t.logged) << t.turn;
    }
    // The older page marks its voiced line; a click on that line plays it again, cutting the
    // voice that plays, and one on the plain line below does nothing.
    EXPECT_EQ(g.screen.Surface().Row(453)[18 * 3], 0xFA);
    from = game.fakes.log.lines.size();
    shell::BacklogClick(engine, MakePoint(300, 460));
    shell::BacklogClick(engine, MakePoint(300, 490));
    EXPECT_THAT(LogSince(from),
                ElementsAre("backlog voice v\\a.ogg", "voice stop", "voice play v\\a.ogg"));
    from = game.fakes.log.lines.size();
    shell::TurnBacklog(engine, -2);  // past the newest
    EXPECT_THAT(LogSince(from), ElementsAre("backlog close"));
    EXPECT_FALSE(shell::BacklogOpen(engine));
    EXPECT_EQ(g.waitCursorOn, 1);
    const core::Surface& after = g.screen.Surface();
    EXPECT_EQ(std::memcmp(after.Data(), before.Data(), before.SizeBytes()), 0);
    EXPECT_EQ(shell::CurrentPageText(engine), "three");
    engine.script.gate.Resume();
  });
  engine.script.gate.SuspendSelf(core::HaltReason::Wait);
  EXPECT_FALSE(shell::BacklogOpen(engine));
}

// The history goes beside the slot saved and comes back from it; a file that is not one of ours,
// or is damaged, is left alone and the history kept.
TEST_F(Backlog, TheHistoryFileRoundTripsAndADamagedOneIsIgnored) {
  TypeTwoPages();
  const std::vector<core::HistoryPage> typed = engine.history.Pages();
  ASSERT_EQ(script::SaveGame(engine, 3), 1);
  const std::string path = saveFolder + "\\save03.bkl";
  const auto written = game.fakes.files.ReadAll(path);
  ASSERT_TRUE(written);
  engine.history.Clear();
  script::ReadHistoryFile(engine, 3);
  EXPECT_EQ(engine.history.Pages(), typed);

  std::vector<uint8_t> longer = *written;
  longer.push_back(0);
  std::vector<uint8_t> tooManyPages = *written;
  tooManyPages[8] = 101;
  std::vector<uint8_t> foreign = *written;
  foreign[0] = 'X';
  const std::vector<uint8_t> damaged[] = {
      {written->begin(), written->end() - 1}, longer, tooManyPages, foreign, {'Q', 'V'}};
  engine.history.Replace({{{"kept", ""}}});
  for (const auto& bytes : damaged) {
    game.fakes.files.files[path] = bytes;
    script::ReadHistoryFile(engine, 3);
    EXPECT_EQ(game.fakes.log.lines.back(), "backlog file save03.bkl ignored") << bytes.size();
    EXPECT_EQ(engine.history.PageCount(), 1u);
  }

  // The original's engine keeps no history and writes no file.
  engine.services.comforts.enabled = false;
  script::ExecuteLine(engine, "four");
  EXPECT_EQ(engine.history.PageCount(), 1u);
  ASSERT_EQ(script::SaveGame(engine, 4), 1);
  EXPECT_FALSE(game.fakes.files.Exists(saveFolder + "\\save04.bkl"));
}

}  // namespace
}  // namespace qv::test
