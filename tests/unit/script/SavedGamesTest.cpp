// The saved game's bytes: the record's layout, the check before a load, the resume walk, the slot
// summaries and the recorded name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"
#include "core/SavedGameFile.h"
#include "screens/SlotList.h"
#include "script/ResumePoint.h"
#include "script/SavedGames.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using core::GameState;

// The record as the table lays it out, written field by field at its offset.
TEST(SavedGameFile, RecordLayoutMatchesAFileBuiltByHand) {
  std::vector<uint8_t> file(1592, 0);
  auto put32 = [&](size_t at, int32_t v) { core::StoreI32(&file[at], v); };
  auto putText = [&](size_t at, const char* text) { std::memcpy(&file[at], text, strlen(text)); };
  put32(0, 0x01020304);
  put32(4 + 4 * 39, -7);   // the last event flag
  put32(164 + 4 * 9, 99);  // the last point
  put32(204, 1);
  put32(208, 120);
  put32(212, -30);
  putText(216, "cg\\bg\\room.bmp");
  putText(476, "cg\\a.bmp");
  putText(736, "cg\\b.bmp");
  file[996] = 1;
  file[997] = 0;
  putText(998, "/g/bgm\\theme.ogg");
  putText(1258, "\x90\xb0\x90\x62");
  putText(1269, ":back");
  putText(1333, " title");

  GameState state;
  std::memcpy(state.Bytes().data(), file.data(), file.size());
  EXPECT_EQ(state.Position(), 0x01020304u);
  EXPECT_EQ(state.EventFlag(39), -7);
  EXPECT_EQ(state.Point(9), 99);
  EXPECT_EQ(state.SlotValue(GameState::kStatusWindowOffset), 1);
  EXPECT_EQ(state.SlotValue(GameState::kSpriteXOffset + 4), -30);
  EXPECT_EQ(state.Text(GameState::kBackgroundNameOffset, 260), "cg\\bg\\room.bmp");
  EXPECT_EQ(state.Text(GameState::kSpriteFilesOffset + 260, 260), "cg\\b.bmp");
  EXPECT_EQ(state.Bytes()[GameState::kSpriteActiveOffset], 1);
  EXPECT_EQ(state.Text(GameState::kMusicFileNameOffset, 260), "/g/bgm\\theme.ogg");
  EXPECT_EQ(state.Text(GameState::kPlayerNameOffset, 11), "\x90\xb0\x90\x62");
  EXPECT_EQ(state.Text(GameState::kReturnLabelOffset, 64), ":back");
  EXPECT_EQ(state.Text(GameState::kStateTitleOffset, 256), " title");
}

std::shared_ptr<core::ScriptText> Script(std::string_view text) {
  auto script = std::make_shared<core::ScriptText>();
  script->bytes.assign(text.begin(), text.end());
  script->size = static_cast<uint32_t>(text.size());
  script->bytes.push_back(core::ScriptText::kEndMarker);
  script->bytes.push_back(0);
  return script;
}

TEST(SavedGameFile, OnlyWholeRecordsOfThisScriptAtALineBoundaryPass) {
  const auto script = Script("a\r\n$C\r\nb\r\n");
  auto record = [](uint32_t position, size_t size = GameState::kSize) {
    std::vector<uint8_t> bytes(size, 0);
    core::StoreI32(bytes.data(), static_cast<int32_t>(position));
    return bytes;
  };
  EXPECT_EQ(core::CheckSavedGame(record(5), script.get()), "");   // the CR of "$C"
  EXPECT_EQ(core::CheckSavedGame(record(3), script.get()), "");   // a line's first byte
  EXPECT_NE(core::CheckSavedGame(record(4), script.get()), "");   // inside a line
  EXPECT_NE(core::CheckSavedGame(record(10), script.get()), "");  // past the end
  EXPECT_NE(core::CheckSavedGame(record(5, 1591), script.get()), "");
  EXPECT_NE(core::CheckSavedGame(record(5, 1593), script.get()), "");
  EXPECT_NE(core::CheckSavedGame(record(5), nullptr), "");
  for (size_t field : {GameState::kBackgroundNameOffset, GameState::kMusicFileNameOffset,
                       GameState::kPlayerNameOffset, GameState::kReturnLabelOffset}) {
    auto bytes = record(5);
    const size_t size = field == GameState::kPlayerNameOffset    ? 11
                        : field == GameState::kReturnLabelOffset ? 64
                                                                 : 260;
    std::memset(&bytes[field], 'x', size);
    EXPECT_EQ(core::CheckSavedGame(bytes, script.get()), "unterminated text") << field;
  }
  auto untitled = record(5);
  std::memset(&untitled[GameState::kStateTitleOffset], 'x', 256);  // shown cut, still loads
  EXPECT_EQ(core::CheckSavedGame(untitled, script.get()), "");
}

// Each script is saved at the CR after its last "$C"; the expected line is where it resumes.
TEST(ResumeWalk, StopsAtTheNearestLineThatRebuildsThePage) {
  const std::string longLine(130, 'x');
  struct Case {
    std::string text;
    std::string resumeAt;  // the text of the resumed line's start; empty: the script's start
    bool replay;
    bool selword;
  };
  const Case cases[] = {
      {"x\r\n$P\r\na\r\nb\r\n$C\r\n", "$P", true, false},
      {"x\r\n$W\r\na\r\n$C\r\n", "$W", true, false},
      {"x\r\n$P\r\na\r\n$imgblt p\r\nb\r\n$C\r\n", "$imgblt", false, false},
      {"x\r\n$fill red\r\na\r\n$C\r\n", "$fill", false, false},
      {"x\r\n$sprite 0 1 s\r\n$C\r\n", "$sprite", false, false},
      {"x\r\n$statusopen\r\n$C\r\n", "$statusopen", false, false},
      {"x\r\n$hani\r\n$C\r\n", "$hani", false, false},
      {"x\r\n$selword\r\n(a,0,b)\r\nselend\r\n$C\r\n", "$selword", false, true},
      {"x\r\n:here\r\na\r\n$C\r\n", ":here", true, false},
      {"a\r\nb\r\n$C\r\n", "", false, false},
      // The saved line's own page mark is not the one looked for.
      {"x\r\n:l\r\na\r\n$P\r\n", ":l", true, false},
      // Only a long line's first 127 bytes are looked at.
      {"x\r\n:l\r\n" + longLine + "$P\r\n$C\r\n", ":l", true, false},
      {"x\r\n:l\r\n" + longLine.substr(0, 100) + "$P\r\n$C\r\n", longLine.substr(0, 100), true,
       false},
  };
  for (const Case& c : cases) {
    const auto script = Script(c.text);
    const uint32_t saved = static_cast<uint32_t>(c.text.size() - 2);
    const script::ResumeLine line = script::FindResumeLine(*script, saved);
    const uint32_t expected =
        c.resumeAt.empty() ? 0 : static_cast<uint32_t>(c.text.rfind("\n" + c.resumeAt) + 1);
    EXPECT_EQ(line.line, expected) << c.text;
    EXPECT_EQ(line.replay, c.replay) << c.text;
    EXPECT_EQ(line.selword, c.selword) << c.text;
  }
  // Saved positions near the start, or past a script cut short, walk no further than it holds.
  EXPECT_EQ(script::FindResumeLine(*Script("$C\r\n"), 2).line, 0u);
  EXPECT_EQ(script::FindResumeLine(*Script("a"), 1000).line, 0u);
}

struct SlotFiles : ::testing::Test {
  FakeGame game{"a\r\n$C\r\n"};
  script::Engine& engine = game.engine;
  std::string SlotPath(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "\\save%02d.sav", slot);
    return engine.services.baseDirectory + "\\save" + name;
  }
  void SetUp() override { engine.services.baseDirectory = kFakeBaseDirectory; }
};

TEST_F(SlotFiles, SummariesShowDateAndTitleAndReactOnlyWhenLoadable) {
  std::string date, title;
  // No save folder, then no file: the empty slot.
  EXPECT_EQ(screens::ReadSlotSummary(engine.saveLoad, 0, date, title), 0);
  EXPECT_EQ(date + "|" + title, "--/--/--|None");
  game.fakes.files.directories.insert(engine.services.baseDirectory + "\\save");
  EXPECT_EQ(screens::ReadSlotSummary(engine.saveLoad, 0, date, title), 0);
  EXPECT_EQ(date + "|" + title, "--/--/--|None");

  std::string record(GameState::kSize, '\0');
  record[0] = 5;  // the CR of "$C"
  record.replace(GameState::kStateTitleOffset, 256, std::string(256, 'T'));
  game.fakes.files.Put(SlotPath(12), record);
  // Without a readable time the title still shows.
  EXPECT_EQ(screens::ReadSlotSummary(engine.saveLoad, 11, date, title), 0);
  EXPECT_EQ(date + "|" + title, "--/--/--|" + std::string(256, 'T'));
  game.fakes.files.writeTime = platform::LocalTime{2011, 3, 5, 9, 7, 0};
  EXPECT_EQ(screens::ReadSlotSummary(engine.saveLoad, 11, date, title), 1);
  EXPECT_EQ(date, "2011/03/05 09:07");
  // A record of another script is shown but does not load.
  record[0] = 4;
  game.fakes.files.Put(SlotPath(12), record);
  EXPECT_EQ(screens::ReadSlotSummary(engine.saveLoad, 11, date, title), 0);
  EXPECT_EQ(date, "2011/03/05 09:07");
}

TEST_F(SlotFiles, RecordedNameComesFromSlotOneOrIsTheDefault) {
  auto name = [&] {
    return std::string(
        engine.script.state.Text(GameState::kPlayerNameOffset, GameState::kPlayerNameSize));
  };
  EXPECT_EQ(script::LoadRecordedName(engine), 0);
  EXPECT_EQ(name(), "\x90\xb0\x90\x62");
  game.fakes.files.directories.insert(engine.services.baseDirectory + "\\save");
  std::string record(GameState::kSize, '\0');
  // Eleven bytes with no terminator: cut to ten, at a whole character.
  record.replace(GameState::kPlayerNameOffset, 11, "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8x");
  record[GameState::kStateTitleOffset] = 'z';  // nothing else of the file is taken
  game.fakes.files.Put(SlotPath(1), record);
  EXPECT_EQ(script::LoadRecordedName(engine), 1);
  EXPECT_EQ(name(), "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8");
  EXPECT_EQ(engine.script.state.Bytes()[GameState::kStateTitleOffset], 0);
}

// A file that fails the check costs the running game nothing.
TEST_F(SlotFiles, AFailedLoadLeavesTheGameAsItWas) {
  game.fakes.files.directories.insert(engine.services.baseDirectory + "\\save");
  game.fakes.files.Put(SlotPath(4), std::string(1000, '\0'));
  engine.script.state.SetSlotValue(GameState::kPointsOffset, 42);
  engine.script.position = 5;
  EXPECT_EQ(script::LoadGame(engine, 4), 0);
  EXPECT_EQ(game.fakes.ui.boxes.at(0).text, "ロードに失敗しました");
  EXPECT_EQ(engine.script.state.Point(0), 42);
  EXPECT_EQ(engine.script.position, 5u);
  EXPECT_EQ(engine.input.restoringGame, 0);
  EXPECT_EQ(game.fakes.log.lines.back(), "load 4 -> failed");
}

}  // namespace
}  // namespace qv::test
