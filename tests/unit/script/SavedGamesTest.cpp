// The saved game's bytes: the record's layout and text fields, the check before a load, and a
// load that fails the check.
#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"
#include "core/SavedGameFile.h"
#include "script/SavedGames.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

using core::GameState;

// The record as the table lays it out, written field by field at its offset.
TEST(SavedGameFile, RecordLayoutMatchesAFileBuiltByHandAndTextsKeepTheirTerminator) {
  std::vector<uint8_t> file(1592, 0);
  // The last event flag and the last point among them.
  const std::pair<size_t, int32_t> numbers[] = {
      {0, 0x01020304}, {4 + 4 * 39, -7}, {164 + 4 * 9, 99}, {204, 1}, {212, -30}};
  for (const auto& [at, value] : numbers) core::StoreI32(&file[at], value);
  const struct {
    size_t at, field;
    const char* text;
  } texts[] = {{216, GameState::kBackgroundNameOffset, "cg\\bg\\room.bmp"},
               {736, GameState::kSpriteFilesOffset + 260, "cg\\b.bmp"},
               {998, GameState::kMusicFileNameOffset, "/g/bgm\\theme.ogg"},
               {1258, GameState::kPlayerNameOffset, "\x90\xb0\x90\x62"},
               {1269, GameState::kReturnLabelOffset, ":back"},
               {1333, GameState::kStateTitleOffset, " title"}};
  for (const auto& t : texts) std::memcpy(&file[t.at], t.text, strlen(t.text));
  file[996] = 1;

  GameState state;
  std::memcpy(state.Bytes().data(), file.data(), file.size());
  EXPECT_EQ(state.Position(), 0x01020304u);
  EXPECT_EQ(state.EventFlag(39), -7);
  EXPECT_EQ(state.Point(9), 99);
  EXPECT_EQ(state.SlotValue(GameState::kStatusWindowOffset), 1);
  EXPECT_EQ(state.SlotValue(GameState::kSpriteXOffset + 4), -30);
  EXPECT_EQ(state.Bytes()[GameState::kSpriteActiveOffset], 1);
  for (const auto& t : texts) EXPECT_EQ(state.Text(t.field, strlen(t.text) + 1), t.text) << t.at;
  // A text keeps its terminator; choice conditions read flags by up to three digits, past the
  // record as 0.
  state.SetText(GameState::kPlayerNameOffset, GameState::kPlayerNameSize, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(state.Text(GameState::kPlayerNameOffset, GameState::kPlayerNameSize), "ABCDEFGHIJ");
  EXPECT_EQ(state.Text(GameState::kReturnLabelOffset, 6), ":back");
  EXPECT_EQ(state.EventFlag(1000), 0);
}

// A slot file replaces the running game only when its texts end and its position starts or ends
// a line of this script.
TEST(SavedGameFile, TheCheckRefusesUnendedTextsAndPositionsOffTheLines) {
  const core::ScriptText script{{'a', 'b', '\r', '\n', core::ScriptText::kEndMarker}, 4};
  const struct {
    uint8_t position;
    bool labelUnended, noScript;
    std::string why;
  } cases[] = {{0, false, false, ""},
               {2, false, false, ""},
               {1, false, false, "position inside a line"},
               {4, false, false, "position outside the script"},
               {0, true, false, "unterminated text"},
               {0, false, true, "no script"}};
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes(GameState::kSize, 0);
    bytes[GameState::kPositionOffset] = c.position;
    if (c.labelUnended)
      std::fill_n(&bytes[GameState::kReturnLabelOffset], GameState::kReturnLabelSize, 'x');
    EXPECT_EQ(core::CheckSavedGame(bytes, c.noScript ? nullptr : &script), c.why) << c.why;
  }
}

// A file that fails the check costs the running game nothing.
TEST(SlotFiles, AFailedLoadLeavesTheGameAsItWas) {
  FakeGame game{"a\r\n$C\r\n"};
  script::Engine& engine = game.engine;
  const std::string folder = engine.services.baseDirectory + "\\save";
  EXPECT_EQ(script::LoadGame(engine, 4), 0);  // no save folder: nothing to read, no box
  EXPECT_EQ(game.fakes.log.lines.back(), "load 4 -> failed");
  EXPECT_EQ(script::LoadRecordedName(engine), 0);  // nor a recorded name: the default
  game.fakes.files.directories.insert(folder);
  game.fakes.files.Put(folder + "\\save04.sav", std::string(1000, '\0'));
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
