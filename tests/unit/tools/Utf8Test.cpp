// What counts as malformed UTF-8 in a script source. (Conversions both ways, their errors and
// warnings, and the scenario files' bytes are checked through qvtool in tests/cli.)
#include "qvtool/Utf8.h"

#include <gtest/gtest.h>

namespace qv::tool {
namespace {

TEST(Utf8, FindsTheFirstMalformedSequence) {
  EXPECT_EQ(FindMalformedUtf8("plain ascii"), std::nullopt);
  EXPECT_EQ(FindMalformedUtf8("あ😀\xEF\xBF\xBF"), std::nullopt);
  EXPECT_EQ(FindMalformedUtf8("ab\x80"), 2u);              // continuation without a lead
  EXPECT_EQ(FindMalformedUtf8("a\xC1\xBF"), 1u);           // overlong
  EXPECT_EQ(FindMalformedUtf8("aa\xE0\x9F\xBF"), 2u);      // overlong three-byte form
  EXPECT_EQ(FindMalformedUtf8("\xED\xBF\xBF"), 0u);        // surrogate
  EXPECT_EQ(FindMalformedUtf8("あ\xF4\x90\x80\x80"), 3u);  // past U+10FFFF
  EXPECT_EQ(FindMalformedUtf8("あ\xE3\x81"), 3u);          // cut short
  EXPECT_EQ(FindMalformedUtf8("\x90\xB0\x90\x62"), 0u);    // Shift-JIS is not UTF-8
}

}  // namespace
}  // namespace qv::tool
