// Jumps, labels, event flags, point counters, random numbers and record flags.
#include <gtest/gtest.h>

#include <string>

#include "core/Bytes.h"
#include "core/SettingsFile.h"
#include "script/Commands.h"
#include "support/FakePlatform.h"

namespace qv::script {
namespace {

using core::GameState;
using test::FakeGame;

// Where the interpreter goes on after the current line: the loop steps over the CR LF.
uint32_t Next(const FakeGame& game) {
  return game.engine.scriptPosition + 2;
}

std::string ReturnLabel(const FakeGame& game) {
  return std::string(
      game.engine.state.Text(GameState::kReturnLabelOffset, GameState::kReturnLabelSize));
}

// The failure every jump reports: the message in a warning box, then the close message.
void ExpectJumpFailed(const FakeGame& game, const std::string& message) {
  ASSERT_EQ(game.fakes.ui.boxes.size(), 1u);
  EXPECT_EQ(game.fakes.ui.boxes[0].caption, "T");
  EXPECT_EQ(game.fakes.ui.boxes[0].text, message);
  EXPECT_EQ(game.fakes.ui.boxes[0].icon, platform::BoxIcon::Warning);
  EXPECT_EQ(game.procedure.Count(platform::MSG_CLOSE), 1);
  // Parked so that the loop's next read is the end of the script.
  EXPECT_EQ(Next(game), game.engine.Script()->size);
}

TEST(Jumps, ReturnLabelIsRememberedUntilReturntoFollowsIt) {
  FakeGame game(
      "$jmp there return back\r\n"
      ":back\r\nafter back\r\n"
      ":there\r\nafter there\r\n");
  game.engine.textPositionX = 300;
  Jmp(game.engine, "$jmp there return back");
  EXPECT_EQ(Next(game), game.IndexOf("after there"));
  EXPECT_EQ(ReturnLabel(game), ":back");
  EXPECT_EQ(game.engine.textPositionX, 35);

  // A jump without a return label leaves the remembered one alone.
  Jmp(game.engine, "$jmp there");
  EXPECT_EQ(ReturnLabel(game), ":back");

  game.engine.textPositionX = 300;
  Returnto(game.engine, "$returnto");
  EXPECT_EQ(Next(game), game.IndexOf("after back"));
  EXPECT_EQ(ReturnLabel(game), "");
  EXPECT_EQ(game.engine.textPositionX, 35);

  game.engine.textPositionX = 300;
  uint32_t before = game.engine.scriptPosition;
  Returnto(game.engine, "$returnto");
  EXPECT_EQ(game.engine.scriptPosition, before);
  EXPECT_EQ(game.engine.textPositionX, 300);
  EXPECT_TRUE(game.fakes.ui.boxes.empty());
}

TEST(Jumps, FirstOccurrenceWinsEvenInsideALongerLabel) {
  FakeGame game(":starting\r\nfirst\r\n:start\r\nsecond\r\n");
  EXPECT_EQ(JumpToLabel(game.engine, ":start", "m"), 1);
  EXPECT_EQ(Next(game), game.IndexOf("first"));
}

TEST(Jumps, BareLineFeedLosesTheByteBeforeIt) {
  // The line reader treats the byte before a bare LF as the line's end; jumps follow it.
  FakeGame game("x\r\n:lf\nnext\r\n");
  EXPECT_EQ(JumpToLabel(game.engine, ":lf", "m"), 1);
  EXPECT_EQ(Next(game), game.IndexOf("next"));
}

TEST(Jumps, MissingOrUnterminatedLabelsFailWithTheRestOfTheLineAndKeepTheReturnLabel) {
  const struct {
    const char* script;
    const char* line;
    const char* message;
  } cases[] = {
      {"$jmp end\r\ntext\r\n:end", "$jmp end", ":end"},  // last line without a line end
      {":x\r\n", "$jmp nowhere return x", ":nowhere return x"},
      {":x\r\n", "$jmp", "$jmp"},  // no label: fails instead of crashing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    FakeGame game(c.script);
    Jmp(game.engine, c.line);
    ExpectJumpFailed(game, c.message);
    EXPECT_EQ(ReturnLabel(game), "");
  }
  FakeGame game("x\r\n");  // a set flag whose label is missing ends the game too
  Eventflag(game.engine, "$eventflag 1");
  Eventjudge(game.engine, "$eventjudge 1 gone");
  ExpectJumpFailed(game, ":gone");
}

TEST(Jumps, OverlongLabelsAreCutToTheirFields) {
  const std::string longLabel(100, 'L');
  FakeGame game(":" + longLabel + "\r\nafter\r\n");
  game.engine.state.SetText(GameState::kStateTitleOffset, GameState::kStateTitleSize, "title");

  // The search keeps 63 bytes (":" and 62 of the label), still a prefix of the label line.
  Jmp(game.engine, "$jmp " + longLabel + " return " + longLabel);
  EXPECT_EQ(Next(game), game.IndexOf("after"));
  EXPECT_EQ(ReturnLabel(game), ":" + longLabel.substr(0, 62));
  EXPECT_EQ(game.engine.state.Text(GameState::kStateTitleOffset, GameState::kStateTitleSize),
            "title");

  // The cut return label still finds its line.
  game.engine.scriptPosition = 0;
  Returnto(game.engine, "$returnto");
  EXPECT_EQ(Next(game), game.IndexOf("after"));
}

TEST(EventFlags, SetResetAndJudge) {
  FakeGame game("x\r\n:hit\r\nafter\r\n");
  Eventflag(game.engine, "$eventflag 12");
  EXPECT_EQ(game.engine.state.EventFlag(12), 1);

  game.engine.scriptPosition = 0;
  Eventjudge(game.engine, "$eventjudge 12 hit");
  EXPECT_EQ(Next(game), game.IndexOf("after"));

  Eventflag(game.engine, "$eventflag 12 reset");
  EXPECT_EQ(game.engine.state.EventFlag(12), 0);
  game.engine.scriptPosition = 0;
  Eventjudge(game.engine, "$eventjudge 12 hit");
  EXPECT_EQ(game.engine.scriptPosition, 0u);
  EXPECT_TRUE(game.fakes.ui.boxes.empty());

  // Only 1 counts as set.
  game.engine.state.SetSlotValue(*game.engine.state.EventFlagSlot(3), 2);
  Eventjudge(game.engine, "$eventjudge 3 hit");
  EXPECT_EQ(game.engine.scriptPosition, 0u);
}

TEST(EventFlags, NumbersBeyondTheTableReachTheRecordButNotPastIt) {
  FakeGame game("x\r\n");
  GameState& state = game.engine.state;
  Eventflag(game.engine, "$eventflag 40");  // the slot after the table: point counter 0
  EXPECT_EQ(state.Point(0), 1);
  Eventflag(game.engine, "$eventflag -1");  // the slot before it: the position field
  EXPECT_EQ(state.Position(), 1u);
  Eventflag(game.engine, "$eventflag 396");  // the record's last four bytes
  EXPECT_EQ(core::LoadI32(&state.Bytes()[GameState::kSize - 4]), 1);

  auto before = state.Bytes();
  std::vector<uint8_t> snapshot(before.begin(), before.end());
  for (const char* line : {"$eventflag 397", "$eventflag -2", "$eventflag 2147483647",
                           "$eventflag -2147483648", "$eventflag"}) {
    Eventflag(game.engine, line);
    EXPECT_TRUE(std::equal(snapshot.begin(), snapshot.end(), state.Bytes().begin())) << line;
  }
}

TEST(Points, AddingNeverGoesBelowZero) {
  FakeGame game("x\r\n");
  GameState& state = game.engine.state;
  Pointflag(game.engine, "$pointflag 1 2");
  Pointflag(game.engine, "$pointflag 1 -5");
  EXPECT_EQ(state.Point(1), 0);
  Pointflag(game.engine, "$pointflag 1 10");
  EXPECT_EQ(state.Point(1), 10);
  Pointflag(game.engine, "$pointflag 1 1234567");  // at most five characters: 12345
  EXPECT_EQ(state.Point(1), 12355);
  Pointflag(game.engine, "$pointflag 1 reset");
  EXPECT_EQ(state.Point(1), 0);

  Pointflag(game.engine, "$pointflag 10 7");  // past the table: the status-window flag
  EXPECT_EQ(state.SlotValue(GameState::kStatusWindowOffset), 7);
  Pointflag(game.engine, "$pointflag 357 7");  // past the record: nothing
  Pointflag(game.engine, "$pointflag 2");      // no value: nothing
  EXPECT_EQ(state.Point(2), 0);
}

TEST(Points, JudgeComparesUnsigned) {
  FakeGame game("x\r\n:win\r\nafter\r\n");
  const uint32_t after = game.IndexOf("after");
  auto jumps = [&](int32_t counter, const std::string& line) {
    game.engine.state.SetSlotValue(*game.engine.state.PointSlot(3), counter);
    game.engine.scriptPosition = 0;
    Pointjudge(game.engine, line);
    return Next(game) == after;
  };
  EXPECT_FALSE(jumps(9, "$pointjudge 3 10 win"));
  EXPECT_TRUE(jumps(10, "$pointjudge 3 10 win"));
  EXPECT_TRUE(jumps(11, "$pointjudge 3 10 win"));
  EXPECT_TRUE(jumps(0, "$pointjudge 3 0 win"));
  EXPECT_TRUE(jumps(0, "$pointjudge 3  win"));  // two spaces: threshold 0
  EXPECT_FALSE(jumps(0, "$pointjudge 3 -1 win"));
  EXPECT_FALSE(jumps(2147483647, "$pointjudge 3 -1 win"));
  EXPECT_TRUE(game.fakes.ui.boxes.empty());
}

TEST(Random, SeededByTheTickCount) {
  FakeGame game("x\r\n");
  game.fakes.clock.SetNow(123456789);
  Random(game.engine, "$random 4 100");
  EXPECT_EQ(game.engine.state.Point(4), 59);
  Random(game.engine, "$random 5 100");  // same millisecond, same seed
  EXPECT_EQ(game.engine.state.Point(5), 59);
  Random(game.engine, "$random 6 999");
  EXPECT_EQ(game.engine.state.Point(6), 272);
  Random(game.engine, "$random 7 1");
  EXPECT_EQ(game.engine.state.Point(7), 0);
  Random(game.engine, "$random 8 1000");  // the range has three digits at most: 100
  EXPECT_EQ(game.engine.state.Point(8), 59);

  game.engine.state.SetSlotValue(*game.engine.state.PointSlot(4), 42);
  Random(game.engine, "$random 4 0");
  Random(game.engine, "$random 4 -5");
  Random(game.engine, "$random 4");
  EXPECT_EQ(game.engine.state.Point(4), 42);
}

TEST(RecordFlags, WrittenToEnvDatAndOutOfRangeIgnored) {
  FakeGame game("x\r\n");
  core::EnvSettings& env = game.engine.env;
  env.messageSpeed = 40;
  env.windowed = 1;
  env.screenEffects = 0;
  env.seVolume = 75;
  env.bgmVolume = 50;
  env.imageSeenFlags[0] = 1;
  env.padding35 = 0xAA;

  Recflag(game.engine, "$recflag 3");
  Recflag(game.engine, "$recflag 19");
  std::vector<uint8_t> expected(56, 0);
  expected[0] = 40;
  expected[4] = 1;
  expected[12] = 75;
  expected[14] = 50;
  expected[16] = 1;
  expected[35] = 0xAA;
  expected[36 + 2] = 1;
  expected[36 + 18] = 1;
  const std::string path = core::EnvFilePath(game.engine);
  EXPECT_EQ(game.fakes.files.files.at(path), expected);

  Recflag(game.engine, "$recflag 3 reset");
  expected[36 + 2] = 0;
  EXPECT_EQ(game.fakes.files.files.at(path), expected);
  EXPECT_EQ(game.fakes.files.writeCounts.at(path), 3);

  Recflag(game.engine, "$recflag 0");
  Recflag(game.engine, "$recflag 20");
  EXPECT_EQ(game.fakes.files.writeCounts.at(path), 3);
  EXPECT_EQ(env.imageSeenFlags[18], 0);
}

TEST(Flagreset, ClearsTheWholeRecord) {
  FakeGame game("x\r\n");
  GameState& state = game.engine.state;
  for (auto& byte : state.Bytes()) byte = 0x5A;
  state.SetText(GameState::kPlayerNameOffset, GameState::kPlayerNameSize, "name");
  Flagreset(game.engine, "$flagreset");
  for (uint8_t byte : state.Bytes()) ASSERT_EQ(byte, 0);
}

}  // namespace
}  // namespace qv::script
