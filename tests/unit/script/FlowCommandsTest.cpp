// Jumps, labels, event flags, point counters, random numbers, record flags and timed pauses.
#include <gtest/gtest.h>

#include <string>

#include "script/Commands.h"
#include "support/FakePlatform.h"

namespace qv::script {
namespace {

using core::GameState;
using test::FakeGame;

// Where the interpreter goes on after the current line: the loop steps over the CR LF.
uint32_t Next(const FakeGame& game) {
  return game.engine.script.position + 2;
}

std::string ReturnLabel(const FakeGame& game) {
  return std::string(
      game.engine.script.state.Text(GameState::kReturnLabelOffset, GameState::kReturnLabelSize));
}

// Each line goes through the command table, as the interpreter sends it.
void Send(FakeGame& game, std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) FindCommand(line)->handler(game.engine, line);
}

// Which label a return follows is the golden replays'; the pen back at the left is not seen there.
TEST(Jumps, AJumpWithAReturnLabelAndTheReturnPutThePenAtTheLeft) {
  FakeGame game(":back\r\n:there\r\n");
  for (std::string_view line : {"$jmp there return back", "$returnto"}) {
    game.engine.view.textPositionX = 300;
    Send(game, {line});
    EXPECT_EQ(game.engine.view.textPositionX, 35) << line;
  }
  EXPECT_EQ(Next(game), game.IndexOf(":there"));
}

TEST(Jumps, FirstOccurrenceWinsAndMissingLabelsFailWithTheRestOfTheLine) {
  const struct {
    const char* script;
    const char* line;
    bool found;
    const char* result;  // the line read next, or the message
  } cases[] = {
      {":starting\r\nfirst\r\n:start\r\nsecond\r\n", "$jmp start", true, "first"},
      {"x\r\n:lf\nnext\r\n", "$jmp lf", true, "next"},  // a bare LF loses the byte before it
      {"$jmp end\r\ntext\r\n:end", "$jmp end", false, ":end"},  // no line end after it
      {":x\r\n", "$jmp nowhere return x", false, ":nowhere return x"},
      {":x\r\n", "$jmp", false, "$jmp"},                   // no label: fails instead of crashing
      {"x\r\n", "$eventjudge 1 gone", false, ":gone"},     // flag 1 is set below
      {"x\r\n", "$eventjudge 1", false, "$eventjudge 1"},  // no label: the line is the message
      {"x\r\n", "$pointjudge 1", false, "$pointjudge 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    FakeGame game(c.script);
    Send(game, {"$eventflag 1", c.line});
    if (c.found) {
      EXPECT_EQ(Next(game), game.IndexOf(c.result));
      continue;
    }
    // The message in a warning box, then the close message.
    ASSERT_EQ(game.fakes.ui.boxes.size(), 1u);
    EXPECT_EQ(game.fakes.ui.boxes[0].caption, "T");
    EXPECT_EQ(game.fakes.ui.boxes[0].text, c.result);
    EXPECT_EQ(game.fakes.ui.boxes[0].icon, platform::BoxIcon::Warning);
    EXPECT_EQ(game.procedure.Count(platform::MSG_CLOSE), 1);
    // Parked so that the loop's next read is the end of the script.
    EXPECT_EQ(Next(game), game.engine.script.Text()->size);
    EXPECT_EQ(ReturnLabel(game), "");
  }
}

// Flags and counters are int32 slots of the record; numbers past a table reach the next field.
TEST(FlagsAndCounters, EachLineSetsItsSlotAndBadArgumentsTouchNothing) {
  const struct {
    std::initializer_list<std::string_view> lines;
    size_t offset;
    int32_t value;
  } cases[] = {
      {{"$eventflag 12"}, 4 + 12 * 4, 1},
      {{"$eventflag 12", "$eventflag 12 reset"}, 4 + 12 * 4, 0},
      {{"$eventflag 40"}, GameState::kPointsOffset, 1},  // the slot after the table
      {{"$eventflag -1"}, GameState::kPositionOffset, 1},
      {{"$eventflag 396"}, GameState::kSize - 4, 1},              // the record's last four bytes
      {{"$pointflag 1 2", "$pointflag 1 -5"}, 168, 0},            // never below zero
      {{"$pointflag 1 10", "$pointflag 1 1234567"}, 168, 12355},  // five characters at most
      {{"$pointflag 1 10", "$pointflag 1 reset"}, 168, 0},
      {{"$pointflag 10 7"}, GameState::kStatusWindowOffset, 7},
      // Seeded by the tick count: the same millisecond gives the same number.
      {{"$random 4 100"}, 180, 59},
      {{"$random 4 100", "$random 5 100"}, 184, 59},
      {{"$random 6 999"}, 188, 272},
      {{"$random 7 1"}, 192, 0},
      {{"$random 8 1000"}, 196, 59},  // three digits at most: 100
      {{"$pointflag 2 7", "$pointflag 4 3", "$statusctrl 1"}, 172, 117},
      {{"$statuswindow OPEN"}, GameState::kStatusWindowOffset, 1},
      {{"$statuswindow OPEN", "$statuswindow open"}, GameState::kStatusWindowOffset, 0},
      {{"$eventflag 396", "$flagreset"}, GameState::kSize - 4, 0},  // the whole record
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*(c.lines.end() - 1));
    FakeGame game("x\r\n");
    game.fakes.clock.SetNow(123456789);
    Send(game, c.lines);
    EXPECT_EQ(game.engine.script.state.SlotValue(c.offset), c.value);
  }

  for (std::string_view line :
       {"$eventflag 397", "$eventflag -2", "$eventflag 2147483647", "$eventflag -2147483648",
        "$eventflag", "$pointflag 357 7", "$pointflag -42 7", "$pointflag 2", "$random 4 0",
        "$random 4 -5", "$random 4", "$random 357 5", "$statusctrl 2", "$statusctrl", "$recflag",
        "$recflag 0", "$recflag 1000"}) {
    FakeGame game("x\r\n");
    for (auto& byte : game.engine.script.state.Bytes()) byte = 0x5A;
    Send(game, {line});
    for (uint8_t byte : game.engine.script.state.Bytes()) ASSERT_EQ(byte, 0x5A) << line;
    for (uint8_t flag : game.engine.services.env.recordFlags) ASSERT_EQ(flag, 0) << line;
  }
}

TEST(FlagsAndCounters, JudgesJumpOnAFlagOfOneOrACounterAtLeastTheThresholdUnsigned) {
  const struct {
    int32_t value;  // of event flag 3 and point counter 3
    const char* line;
    bool jumps;
  } cases[] = {
      {1, "$eventjudge 3 win", true},     {2, "$eventjudge 3 win", false},
      {0, "$eventjudge 3 win", false},    {9, "$pointjudge 3 10 win", false},
      {10, "$pointjudge 3 10 win", true}, {11, "$pointjudge 3 10 win", true},
      {0, "$pointjudge 3 0 win", true},   {0, "$pointjudge 3  win", true},  // threshold 0
      {0, "$pointjudge 3 -1 win", false}, {2147483647, "$pointjudge 3 -1 win", false},
      {1, "$eventjudge 999 win", false},  {0, "$pointjudge 357 0 win", false},  // no such slot
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line << " at " << c.value);
    FakeGame game("x\r\n:win\r\nafter\r\n");
    GameState& state = game.engine.script.state;
    state.SetSlotValue(*state.EventFlagSlot(3), c.value);
    state.SetSlotValue(*state.PointSlot(3), c.value);
    Send(game, {c.line});
    EXPECT_EQ(Next(game), c.jumps ? game.IndexOf("after") : 2u);
    EXPECT_TRUE(game.fakes.ui.boxes.empty());
  }
}

TEST(Wait, EndsAfterItsTimeOrAtOnceWhenItsEndIsPastAndHidesTheCursor) {
  FakeGame game("x\r\n");
  game.fakes.clock.SetNow(500);
  game.engine.view.waitCursorOn = 1;
  game.engine.script.position = 40;
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  EXPECT_EQ(game.engine.view.waitCursorOn, 0);
  EXPECT_EQ(game.engine.script.position, 40u);
  Wait(game.engine, "$wait 0");
  Wait(game.engine, "$wait -5");  // an end below the start is reached at once
  EXPECT_EQ(game.fakes.clock.nowMs(), 1500u);
  game.fakes.clock.SetNow(0xFFFFFF00u);
  Wait(game.engine, "$wait 512");  // so is an end wrapping past the tick count's end
  EXPECT_EQ(game.fakes.clock.nowMs(), 0xFFFFFF00u);

  // Loading a game ends it and steps back for the loader.
  game.fakes.clock.SetNow(0);
  game.fakes.clock.Schedule(300, [&] {
    game.engine.script.position = 100;
    game.engine.input.restoringGame = 1;
  });
  Wait(game.engine, "$wait 1000");
  EXPECT_EQ(game.fakes.clock.nowMs(), 300u);
  EXPECT_EQ(game.engine.script.position, 98u);
}

}  // namespace
}  // namespace qv::script
