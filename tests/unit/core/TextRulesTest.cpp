// The number rule, Shift-JIS aware search and cutting, and the script key detection.
#include "core/TextRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/ScriptScramble.h"

namespace qv::test {
namespace {

TEST(NumberRule, ReadsLikeTheCLibraryConversion) {
  EXPECT_EQ(core::ReadNumber("800"), 800);
  EXPECT_EQ(core::ReadNumber("  -5 rest"), -5);
  EXPECT_EQ(core::ReadNumber("+12x"), 12);
  EXPECT_EQ(core::ReadNumber("wide"), 0);
  EXPECT_EQ(core::ReadNumber(""), 0);
  EXPECT_EQ(core::ReadNumber("- 5"), 0);
  EXPECT_EQ(core::ReadNumber("\t\n\r\v\f7"), 7);
  EXPECT_EQ(core::ReadNumber("4294967295"), -1);  // wraps instead of being undefined
}

TEST(ShiftJis, SearchNeverMatchesOnASecondByteAndCutsKeepWholeCharacters) {
  // "ア" is 83 41: its second byte is 'A'. A search for "A=" must skip it.
  std::string text =
      "\x83"
      "A="
      "A=\"v\"";
  EXPECT_EQ(core::FindSjis(text, "A="), 3u);
  EXPECT_EQ(core::FindSjis("xyz", "q"), std::string_view::npos);
  EXPECT_EQ(core::FindSjis("xyz", ""), 0u);
  EXPECT_EQ(core::TakeUntil("xyz", 3, " "), "");
  const std::string cut = "ab\x82\xA0\x82\xA2";  // ab + two double-byte characters
  EXPECT_EQ(core::CutAtCharBoundary(cut, 3), "ab");
  EXPECT_EQ(core::CutAtCharBoundary(cut, 4), "ab\x82\xA0");
  EXPECT_EQ(core::CutAtCharBoundary(cut, 100), cut);
}

TEST(ScriptKey, FoundByItsLineEnds) {
  auto scramble = [](std::string text, uint8_t key) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    core::XorBytes(bytes, key);
    return bytes;
  };
  EXPECT_EQ(core::DetectScriptKey(scramble("a\r\nb\r\n", core::kScriptKey)), core::kScriptKey);
  EXPECT_EQ(core::DetectScriptKey(scramble("a\r\nb\r\nc\r\n", 0x00)), 0x00);
  // "in" differs by the same bits as CR LF: a one-line script must not be read under a key
  // that turns the rest of it into control bytes.
  EXPECT_EQ(core::DetectScriptKey(scramble("one line only", 0x21)), std::nullopt);
  EXPECT_EQ(core::DetectScriptKey(scramble("one line only", core::kScriptKey)), std::nullopt);
}

}  // namespace
}  // namespace qv::test
