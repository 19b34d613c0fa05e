// The number rule, Shift-JIS aware search and cutting. (The script key's detection is checked
// through qvtool's decode in tests/cli.)
#include "core/TextRules.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv::test
