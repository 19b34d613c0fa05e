// Code page 932 through iconv: known characters, damaged input, and the failure offset.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/posix/IconvCp932.h"

namespace qv::platform::posix {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(IconvCp932, ConvertsKnownCharactersBothWays) {
  IconvCp932 cp932;
  const std::pair<std::string, std::string> cases[] = {
      {"\x81\x96\x81\x96\x81\x96", "＊＊＊"},
      {"\x90\xB0\x90\x62", "晴臣"},
      {"\xB1\xDF", "ｱﾟ"},
      {"\x81\x60\x81\x5C", "～―"},
      // Paths and escapes rely on these staying ASCII rather than turning into yen or overline.
      {"cg\\bg~1", "cg\\bg~1"},
  };
  for (const auto& [shiftJis, utf8] : cases) {
    EXPECT_EQ(cp932.ToUtf8(shiftJis), utf8);
    std::string back;
    size_t bad = 99;
    EXPECT_TRUE(cp932.FromUtf8(utf8, back, bad));
    EXPECT_EQ(back, shiftJis);
  }
}

TEST(IconvCp932, ToUtf8ReplacesDamageAndKeepsGoing) {
  IconvCp932 cp932;
  // A stray single byte is one replacement; the text after it survives.
  EXPECT_EQ(cp932.ToUtf8("A\x80\x42"), "A" + kReplacement + "B");
  // A well-formed pair without a character is one replacement, not two.
  EXPECT_EQ(cp932.ToUtf8("\x85\x40x"), kReplacement + "x");
  // A lead byte before a line break must not swallow the break.
  EXPECT_EQ(cp932.ToUtf8("\x81\r\nz"), kReplacement + "\r\nz");
  EXPECT_EQ(cp932.ToUtf8("ab\x81"), "ab" + kReplacement);
  EXPECT_EQ(cp932.ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(cp932.ToUtf8(""), "");
  // Output longer than one buffer, damaged at its very end.
  std::string shiftJis, expected;
  for (int i = 0; i < 5000; ++i) shiftJis += "\x82\xA0", expected += "あ";
  EXPECT_EQ(cp932.ToUtf8(shiftJis + "\xFF"), expected + kReplacement);
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
  std::string out = "stale";
  size_t bad = 0;
  EXPECT_TRUE(cp932.FromUtf8("", out, bad));
  EXPECT_EQ(out, "");
}

TEST(IconvCp932, OneInstanceServesManyThreads) {
  IconvCp932 cp932;
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&cp932, &failures, t] {
      for (int i = 0; i < 200; ++i) {
        std::string out;
        size_t bad = 0;
        if (cp932.ToUtf8("\x90\xB0\x90\x62") != "晴臣") ++failures[t];
        if (!cp932.FromUtf8("＊＊＊", out, bad) || out != "\x81\x96\x81\x96\x81\x96") ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace qv::platform::posix
