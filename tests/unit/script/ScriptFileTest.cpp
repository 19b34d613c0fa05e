// The line reader's position rule and the command table's order.
#include "script/ScriptFile.h"

#include <gtest/gtest.h>

#include "script/Commands.h"
#include "script/Interpreter.h"

namespace qv::test {
namespace {

core::ScriptText Text(const std::string& plain) {
  core::ScriptText script;
  script.bytes.assign(plain.begin(), plain.end());
  script.size = static_cast<uint32_t>(plain.size());
  script.bytes.push_back(core::ScriptText::kEndMarker);
  script.bytes.push_back(0);
  return script;
}

TEST(LineReader, LeavesThePositionOnTheCarriageReturn) {
  core::ScriptText script = Text("ab\r\ncd\r\n");
  std::atomic<uint32_t> position{0};
  EXPECT_EQ(script::ReadLine(script, position), "ab");
  EXPECT_EQ(position, 2u);
  position += 2;
  EXPECT_EQ(script::ReadLine(script, position), "cd");
  EXPECT_EQ(position, 6u);
}

TEST(LineReader, EmptyLineReadsNothingAndMarkerEndsTheLastLine) {
  core::ScriptText script = Text("\r\nend");
  std::atomic<uint32_t> position{0};
  EXPECT_EQ(script::ReadLine(script, position), "");
  EXPECT_EQ(position, 0u);
  position = 2;
  EXPECT_EQ(script::ReadLine(script, position), "end");
  EXPECT_EQ(script::ScriptByte(script, position), core::ScriptText::kEndMarker);
}

TEST(LineReader, PositionsPastTheTextReadAsTheEnd) {
  core::ScriptText script = Text("x\r");
  std::atomic<uint32_t> position{3};  // the zero after the marker
  EXPECT_EQ(script::ReadLine(script, position), "");
  position = 0xFFFFFFFEu;
  EXPECT_EQ(script::ReadLine(script, position), "");
}

TEST(LineReader, OverlongLineIsPassedOverButNotKept) {
  core::ScriptText script = Text(std::string(3000, 'z') + "\r\nnext\r\n");
  std::atomic<uint32_t> position{0};
  EXPECT_EQ(script::ReadLine(script, position).size(), script::kMaxLineBytes);
  EXPECT_EQ(position, 3000u);
}

TEST(CommandTable, OrderIsTheLanguages) {
  const auto& table = script::CommandTable();
  EXPECT_EQ(table.front().keyword, "name_entry");
  EXPECT_EQ(table.back().keyword, "statetitle");
  EXPECT_EQ(script::FindCommand("$sprite 0 0 cg\\effect.bmp")->keyword, "effect");
  EXPECT_EQ(script::FindCommand("$talk voice\\wave01.ogg")->keyword, "wave");
  EXPECT_EQ(script::FindCommand("$subeffect 1")->keyword, "subeffect");
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
