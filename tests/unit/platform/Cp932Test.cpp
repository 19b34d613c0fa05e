// Code page 932 from the table: the same as glibc's iconv on every code both ways, damaged input,
// and the failure offset.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/common/TableCp932.h"

namespace qv::platform {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

// What glibc stops at is the table's own: every character it has is the comparison's below.
TEST(TableCp932, ReplacesDamageAndKeepsWhatFollows) {
  TableCp932 cp932;
  const std::pair<std::string, std::string> cases[] = {
      // A stray single byte is one replacement; the text after it survives.
      {"A\x80\x42", "A" + kReplacement + "B"},
      // A well-formed pair without a character is one replacement, not two.
      {"\x85\x40x", kReplacement + "x"},
      // A lead byte before a line break must not swallow the break.
      {"\x81\r\nz", kReplacement + "\r\nz"},
      {"ab\x81", "ab" + kReplacement},
      {"\x82\xA0\xFF", "あ" + kReplacement},
  };
  for (const auto& [shiftJis, utf8] : cases) EXPECT_EQ(cp932.ToUtf8(shiftJis), utf8);
}

TEST(TableCp932, FromUtf8ReportsTheFirstBadCharacter) {
  TableCp932 cp932;
  // {input, offset of the first bad character, what was converted before it}
  const std::tuple<std::string, size_t, std::string> cases[] = {
      {"ab😀c", 2, "ab"},              // U+1F600: no Shift-JIS form
      {"あ€", 3, "\x82\xA0"},         // U+20AC: none either
      {"あ\xC0\x80", 3, "\x82\xA0"},  // overlong NUL
      {"x\xED\xA0\x80", 1, "x"},      // a surrogate
      {"a\xF4\x90\x80\x80", 1, "a"},  // beyond U+10FFFF
      {"xyz\xE3\x81", 3, "xyz"},      // cut short at the end
  };
  for (const auto& [utf8, offset, convertedBefore] : cases) {
    std::string out;
    size_t bad = 0;
    EXPECT_FALSE(cp932.FromUtf8(utf8, out, bad)) << utf8;
    EXPECT_EQ(std::pair(bad, out), std::pair(offset, convertedBefore)) << utf8;
  }
}

// What glibc's iconv makes of the whole of `in`; nothing where it stops.
std::optional<std::string> Iconv(iconv_t cd, std::string_view in) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(16, '\0');
  char* from = const_cast<char*>(in.data());
  char* to = out.data();
  size_t fromLeft = in.size(), toLeft = out.size();
  if (iconv(cd, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1)) return std::nullopt;
  out.resize(out.size() - toLeft);
  return out;
}

std::string Utf8(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  const unsigned leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
  std::string out(1, static_cast<char>(leads[length] | c >> 6 * (length - 1)));
  for (int i = length - 2; i >= 0; --i) out += static_cast<char>(0x80 | (c >> 6 * i & 0x3F));
  return out;
}

TEST(TableCp932, AgreesWithGlibcOnEveryCodeBothWays) {
  const iconv_t decode = iconv_open("UTF-8", "CP932"), encode = iconv_open("CP932", "UTF-8");
  if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1))
    GTEST_SKIP() << "this C library's iconv has no code page 932";
  TableCp932 cp932;
  int mismatches = 0;
  // Every byte and pair of bytes; what glibc refuses, the table replaces.
  for (int code = 0; code < 0x10000; ++code) {
    const std::string bytes =
        code < 0x100 ? std::string(1, static_cast<char>(code))
                     : std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::optional<std::string> want = Iconv(decode, bytes);
    const std::string got = cp932.ToUtf8(bytes);
    mismatches += want ? got != *want : got.find(kReplacement) == std::string::npos;
  }
  // Every code point: the same bytes, or a refusal where glibc refuses.
  for (char32_t c = 0; c < 0x110000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const std::string utf8 = Utf8(c);
    const std::optional<std::string> want = Iconv(encode, utf8);
    std::string got;
    size_t bad = 0;
    const bool converted = cp932.FromUtf8(utf8, got, bad);
    mismatches += converted != want.has_value() || (converted && got != *want);
  }
  iconv_close(decode);
  iconv_close(encode);
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace qv::platform
