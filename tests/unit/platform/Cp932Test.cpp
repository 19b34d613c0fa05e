// Code page 932 through iconv: known characters, damaged input, and the failure offset.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/posix/IconvCp932.h"

namespace qv::platform::posix {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(IconvCp932, ConvertsKnownCharactersBothWaysAndReplacesDamage) {
  IconvCp932 cp932;
  std::string longText, longExpected;  // longer than one buffer, damaged at its very end
  for (int i = 0; i < 5000; ++i) longText += "\x82\xA0", longExpected += "あ";
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"\x81\x96\x81\x96\x81\x96", "＊＊＊", true},
      {"\x90\xB0\x90\x62", "晴臣", true},
      {"\xB1\xDF", "ｱﾟ", true},
      {"\x81\x60\x81\x5C", "～―", true},
      // Paths and escapes rely on these staying ASCII rather than turning into yen or overline.
      {"cg\\bg~1", "cg\\bg~1", true},
      {std::string("a\0b", 3), std::string("a\0b", 3), true},
      {"", "", true},
      // A stray single byte is one replacement; the text after it survives.
      {"A\x80\x42", "A" + kReplacement + "B", false},
      // A well-formed pair without a character is one replacement, not two.
      {"\x85\x40x", kReplacement + "x", false},
      // A lead byte before a line break must not swallow the break.
      {"\x81\r\nz", kReplacement + "\r\nz", false},
      {"ab\x81", "ab" + kReplacement, false},
      {longText + "\xFF", longExpected + kReplacement, false},
  };
  for (const auto& [shiftJis, utf8, bothWays] : cases) {
    EXPECT_EQ(cp932.ToUtf8(shiftJis), utf8);
    std::string back = "stale";
    size_t bad = 99;
    EXPECT_TRUE(!bothWays || (cp932.FromUtf8(utf8, back, bad) && back == shiftJis)) << utf8;
  }
}

TEST(IconvCp932, FromUtf8ReportsTheFirstBadCharacter) {
  IconvCp932 cp932;
  // {input, offset of the first bad character, what was converted before it}
  const std::tuple<std::string, size_t, std::string> cases[] = {
      {"ab😀c", 2, "ab"},              // U+1F600: no Shift-JIS form
      {"あ€", 3, "\x82\xA0"},         // U+20AC: none either
      {"あ\xC0\x80", 3, "\x82\xA0"},  // overlong NUL
      {"x\xED\xA0\x80", 1, "x"},      // a surrogate
      {"xyz\xE3\x81", 3, "xyz"},      // cut short at the end
  };
  for (const auto& [utf8, offset, convertedBefore] : cases) {
    std::string out;
    size_t bad = 0;
    EXPECT_FALSE(cp932.FromUtf8(utf8, out, bad)) << utf8;
    EXPECT_EQ(std::pair(bad, out), std::pair(offset, convertedBefore)) << utf8;
  }
}

}  // namespace
}  // namespace qv::platform::posix
