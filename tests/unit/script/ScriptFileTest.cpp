// The line reader's position rule and the command table's order.
#include "script/ScriptFile.h"

#include <gtest/gtest.h>

#include <thread>

#include "script/Commands.h"
#include "script/Interpreter.h"

namespace qv::test {
namespace {

TEST(LineReader, LeavesThePositionOnTheLineEndAndReadsPastTheTextAsTheEnd) {
  std::string plain = "ab\r\n\r\n" + std::string(3000, 'z') + "\r\nend";
  core::ScriptText script;
  script.size = static_cast<uint32_t>(plain.size());
  plain += static_cast<char>(core::ScriptText::kEndMarker);
  plain += '\0';
  script.bytes.assign(plain.begin(), plain.end());
  const struct {
    uint32_t from;
    std::string line;
    uint32_t to;
  } cases[] = {
      {0, "ab", 2},
      {4, "", 4},                                          // an empty line reads nothing
      {6, std::string(script::kMaxLineBytes, 'z'), 3006},  // passed over, not kept
      {3008, "end", 3011},                                 // the marker ends the last line
      {3012, "", 3012},                                    // the zero after the marker
  };
  for (const auto& c : cases) {
    std::atomic<uint32_t> position{c.from};
    EXPECT_EQ(script::ReadLine(script, position), c.line) << c.from;
    EXPECT_EQ(position, c.to) << c.from;
  }
  std::atomic<uint32_t> position{0xFFFFFFFEu};
  EXPECT_EQ(script::ReadLine(script, position), "");
}

// A return to the title sets the position to 0 from the window thread while a line is read.
TEST(LineReader, AMoveByAnotherThreadMidLineWinsAndDropsTheLine) {
  const uint32_t lineEnd = 16 << 20;  // long enough to be caught in the middle
  core::ScriptText script;
  script.bytes.assign(lineEnd, 'z');
  script.bytes.insert(script.bytes.end(), {'\r', '\n', core::ScriptText::kEndMarker, 0});
  script.size = lineEnd + 2;
  std::atomic<uint32_t> position{0};
  std::atomic<bool> watching{false};
  std::thread restart([&] {
    watching = true;
    for (;;) {
      uint32_t at = position.load();
      if (at >= lineEnd) return;  // too late: the test fails below
      if (at > 0 && position.compare_exchange_strong(at, 0)) return;
    }
  });
  while (!watching) std::this_thread::yield();
  const std::string line = script::ReadLine(script, position);
  restart.join();
  EXPECT_EQ(position, 0u);
  EXPECT_EQ(line, "");
}

TEST(CommandTable, TheWholeLineIsSearchedInTheLanguagesOrder) {
  const std::pair<const char*, const char*> cases[] = {
      {"$sprite 0 0 cg\\effect.bmp", "effect"},
      {"$talk voice\\wave01.ogg", "wave"},
      {"$OGGPlay talk.ogg", "talk"},
      {"$OGGPlay bgm.ogg", "OGGPlay"},
      {"$subeffect 1", "subeffect"},
      {"$cdda 3", "cdda"},
  };
  for (const auto& [line, keyword] : cases) EXPECT_EQ(script::FindCommand(line)->keyword, keyword);
  EXPECT_EQ(script::FindCommand("$unknown"), nullptr);
}

TEST(NamePlaceholder, FirstOneTakesTheNameAndTheLineStaysInItsBuffer) {
  const std::string stars = "\x81\x96\x81\x96\x81\x96";
  EXPECT_EQ(script::PutNameIn("a" + stars + "b" + stars, "NM"), "aNMb" + stars);
  std::string full(1020, 'c');
  EXPECT_EQ(script::PutNameIn(full + stars, "\x90\xB0\x90\x62"), full + "\x90\xB0");
}

}  // namespace
}  // namespace qv::test
