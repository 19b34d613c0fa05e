// Playing scripts headless: the line loop, the wait codes per advance mode, text and dispatch.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

using ::testing::ElementsAre;

// A click at a stop does not end auto-advance; leaving it lets the next click do so again.
TEST(Interpreter, WaitCodesAndStopHaltAndLinesCarryingThemShowNothing) {
  TempDir dir;
  GameRun run = PlayGame(dir, {"one\n$C\ntwo $C hidden\n$P\nthree\n$S\nfour\n$W\n"},
                         "idle\nstate a\nclick 5 5\nidle\nclick 5 5\nidle\nstate b\nclick 5 5\n"
                         "idle\nstate s\nclick 5 5\nidle\nstate t\nclick 5 5\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.Events(),
              ElementsAre("text one", "halt wait", "halt wait", "halt wait", "text three",
                          "halt stop", "text four", "halt wait", "exit 0"));
  EXPECT_EQ(JsonInt(run.State("a"), "waitCursorOn"), 1);
  EXPECT_EQ(JsonInt(run.State("b"), "newPageRequested"), 1);
  EXPECT_EQ(JsonInt(run.State("s"), "clickEndsAuto"), 0);
  EXPECT_EQ(JsonInt(run.State("t"), "clickEndsAuto"), 1);
}

TEST(Interpreter, AutoAdvancePassesWaitCodesAfterHalfASecondButHaltsAtStop) {
  TempDir dir;
  // Auto-advance is switched on from the menu while halted at the first $C: the interpreter
  // goes on, and every later code waits 500 ms on its own, until $S halts it.
  GameRun run = PlayGame(dir, {"a\n$C\nb\n$P\nc\n$W\nd\n$S\ne\n"},
                         "idle\nmenu 40025\nrclick 3 3\nidle\nstate s\nclick 1 1\nidle\n");
  EXPECT_THAT(run.Events(), ElementsAre("text a", "halt wait", "menu -> 40025", "text b", "text c",
                                        "text d", "halt stop", "text e", "exit 0"));
  auto times = run.Times();
  EXPECT_EQ(times["text b"] - times["menu -> 40025"], 500);
  // Each one-letter line takes one character's time at the default message speed (1 ms).
  EXPECT_EQ(times["text c"] - times["text b"], 501);
  EXPECT_EQ(times["text d"] - times["text c"], 501);
  // A click at the stop does not end auto-advance (the state shows it still on at the stop).
  EXPECT_EQ(JsonInt(run.State("s"), "advanceMode"), 3);
}

TEST(Interpreter, LinesAreReadAndDispatchedAsTheLoopReadsThem) {
  // 1021 ASCII bytes and then two-byte characters: the line is cut, never inside one.
  std::string overlong(1021, 'a');
  for (int i = 0; i < 10; ++i) overlong += "\x82\xA0";
  const struct {
    std::string plain;  // scrambled with `key` as the script file
    char key;
    std::string events;
    std::vector<std::string> expected;
  } cases[] = {
      // The comment line carries a wait code, and codes are searched before anything else.
      {"\r\n:label\r\n;comment $C inside\r\n\r\nx\r\n",
       0x5A,
       "idle\nclick 1 1\n",
       {"halt wait", "text x", "exit 0"}},
      // The last line runs without a line end, then the program closes; a jump there is not
      // followed.
      {"first\r\nlast", 0x5A, "", {"text first", "text last", "exit 0"}},
      {":top\r\n$jmp top", 0x5A, "", {"exit 0"}},
      {"abc\ndef\r\n", 0x5A, "", {"text ab", "text def", "exit 0"}},  // a bare LF eats a byte
      {"hello\r\nworld\r\n", 0x33, "", {"script key 0x33", "text hello", "text world", "exit 0"}},
      // A jump wins over the wait it names; commands with nothing to do pass quietly.
      {"$wait jmp_here\r\nskipped\r\n:jmp_here\r\n$nothing known\r\n$commandopen\r\n"
       "$stuffroll\r\n$C\r\n",
       0x5A,
       "idle\n",
       {"msgbox テスト | 認識できないコマンドです -> ok", "halt wait", "exit 0"}},
      {overlong + "\r\nnext\r\n",
       0x5A,
       "",
       {"text " + std::string(1021, 'a') + "あ", "text next", "exit 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plain);
    TempDir dir;
    WriteGame(dir, {"x\n"});
    std::string scrambled = c.plain;
    for (char& ch : scrambled) ch = static_cast<char>(ch ^ c.key);
    WriteRawScript(dir, scrambled);
    EXPECT_EQ(Play(dir, c.events).Events(), c.expected);
  }
}

}  // namespace
}  // namespace qv::test
