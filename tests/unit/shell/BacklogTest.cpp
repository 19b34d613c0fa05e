// The backlog's history file beside a slot (the backlog itself is played in the golden replays).
#include "shell/Backlog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TextHistoryFile.h"
#include "script/HistoryFile.h"
#include "script/Interpreter.h"
#include "script/SavedGames.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

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
};

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
