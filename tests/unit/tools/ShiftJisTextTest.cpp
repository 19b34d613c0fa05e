// Source text to game text and back: line breaks, encodings, what counts as malformed UTF-8,
// where errors are reported, and scenario files: the scrambled bytes and round trips.
#include "qvtool/ShiftJisText.h"

#include <gtest/gtest.h>

#include "platform/posix/IconvCp932.h"
#include "qvtool/ScriptCodec.h"
#include "qvtool/Utf8.h"

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

class ShiftJisTextTest : public ::testing::Test {
 protected:
  platform::posix::IconvCp932 cp932;
};

TEST_F(ShiftJisTextTest, ConvertsUtf8OrShiftJisWithEveryLineBreakAsCrLf) {
  const struct {
    std::string_view source;
    std::string_view expected;
    SourceEncoding encoding = SourceEncoding::kDetect;
  } cases[] = {
      {"a\nb\r\nc\rd\n", "a\r\nb\r\nc\r\nd\r\n"},
      {"a\n\n\r\n", "a\r\n\r\n\r\n"},
      {"\n", "\r\n"},
      // The last line ends with a break only when the source's does.
      {"$C\nlast", "$C\r\nlast"},
      {"$C\nlast\r\n", "$C\r\nlast\r\n"},
      {"", ""},
      // UTF-8 with or without a byte order mark.
      {"＊＊＊\n", "\x81\x96\x81\x96\x81\x96\r\n"},
      {"\xEF\xBB\xBF晴臣\n", "\x90\xB0\x90\x62\r\n"},
      // Bytes that are not UTF-8 are Shift-JIS already.
      {"\x90\xB0\x90\x62\n\x81\x96\r\nx", "\x90\xB0\x90\x62\r\n\x81\x96\r\nx"},
      // Half-width katakana that happen to be well-formed UTF-8 need the caller to say so.
      {"\xC3\xBD\n", "\xC3\xBD\r\n", SourceEncoding::kShiftJis},
  };
  for (const auto& c : cases) {
    const TextConversion result = ConvertToShiftJisText(c.source, cp932, c.encoding);
    ASSERT_TRUE(result.Succeeded()) << c.source << ": " << result.error->message;
    EXPECT_EQ(result.bytes, c.expected) << c.source;
  }
}

// The line and character column of the first fault, both ways.
TEST_F(ShiftJisTextTest, ErrorsNameLineAndColumn) {
  const struct {
    bool toShiftJis;
    std::string_view text;
    size_t line, column;
    std::string message;  // a part of it
  } cases[] = {
      // A byte order mark says UTF-8: damage after it is an error, not Shift-JIS.
      {true, "\xEF\xBB\xBFok\nあい\xFF\n", 2, 3, "malformed UTF-8"},
      {true, "one\r\ntwo\n\tあい😀 end\n", 3, 4, "character U+1F600 has no Shift-JIS form"},
      {true, "a\rb€", 2, 2, "character U+20AC has no Shift-JIS form"},
      // Decoding refuses what UTF-8 with LF line ends cannot give back.
      {false, "ok\r\n\x82\xA0x\nnext", 2, 3, "LF without CR"},
      {false, "a\rb", 1, 2, "CR without LF"},
      {false, "ok\r\n\x82\xA0\x80z", 2, 2, "bytes that are not Shift-JIS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const TextConversion result =
        c.toShiftJis ? ConvertToShiftJisText(c.text, cp932) : ConvertToUtf8Text(c.text, cp932);
    ASSERT_FALSE(result.Succeeded());
    EXPECT_TRUE(!c.toShiftJis || result.bytes.empty());
    EXPECT_EQ(result.error->line, c.line);
    EXPECT_EQ(result.error->column, c.column);
    EXPECT_NE(result.error->message.find(c.message), std::string::npos) << result.error->message;
  }
}

TEST_F(ShiftJisTextTest, WarnsAboutLinesTheInterpreterWouldCutAndCharactersSpelledOtherwise) {
  std::string fits, tooLong;
  for (int i = 0; i < 511; ++i) fits += "あ";
  fits += "a";  // 1023 bytes in Shift-JIS, though 1534 in UTF-8
  for (int i = 0; i < 512; ++i) tooLong += "あ";
  TextConversion result = ConvertToShiftJisText(fits + "\n" + tooLong + "\n", cp932);
  ASSERT_TRUE(result.Succeeded());
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0].line, 2u);
  EXPECT_NE(result.warnings[0].message.find("1024 bytes"), std::string::npos);

  // ED 40 (NEC selection) and FA 5C (IBM extension) are the same character.
  result = ConvertToUtf8Text("a\r\nx\xED\x40y\xED\x40", cp932);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.bytes, "a\nx纊y纊");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0].line, 2u);
  EXPECT_EQ(result.warnings[0].column, 2u);
  EXPECT_NE(result.warnings[0].message.find("ED 40 here but encodes as FA 5C"), std::string::npos);
}

// Shift-JIS with CR LF, scrambled with the build's key; decoded, the same source again. Another
// key found by its line ends, and the --sjis form, are checked through qvtool's decode.
TEST_F(ShiftJisTextTest, ScenarioFilesAreScrambledShiftJisAndDecodeToTheSourceAgain) {
  std::string expected;
  for (char c : std::string("\x81\x96\x81\x96\x81\x96\x90\xB0\x90\x62\r\n$C"))
    expected += static_cast<char>(c ^ core::kScriptKey);
  EXPECT_EQ(EncodeScript("＊＊＊晴臣\n$C", cp932).bytes, expected);
  // Without line ends to go by, the build's key is kept.
  for (const std::string source :
       {"; comment\n:label\n晴臣「＊＊＊、おはよう」\n$C\n", "\n\nempty lines first\n\n",
        "ｶﾀｶﾅ and ASCII ~\\ mixed\n", "$C", ""}) {
    const TextConversion encoded = EncodeScript(source, cp932);
    const ScriptDecoding decoded = DecodeScript(encoded.bytes, cp932);
    EXPECT_EQ(std::pair(decoded.key, decoded.text.bytes), std::pair(core::kScriptKey, source));
  }
}

}  // namespace
}  // namespace qv::tool
