// Source text to game text and back: line breaks, encodings, and where errors are reported.
#include "qvtool/ShiftJisText.h"

#include <gtest/gtest.h>

#include "platform/posix/IconvCp932.h"

namespace qv::tool {
namespace {

class ShiftJisTextTest : public ::testing::Test {
 protected:
  std::string ToShiftJis(std::string_view source,
                         SourceEncoding encoding = SourceEncoding::kDetect) {
    TextConversion result = ConvertToShiftJisText(source, cp932, encoding);
    EXPECT_TRUE(result.Succeeded()) << result.error->message;
    return result.bytes;
  }
  TextDiagnostic EncodingError(std::string_view source) {
    TextConversion result = ConvertToShiftJisText(source, cp932);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_TRUE(result.bytes.empty());
    return result.error.value_or(TextDiagnostic{});
  }
  TextDiagnostic DecodingError(std::string_view shiftJis) {
    TextConversion result = ConvertToUtf8Text(shiftJis, cp932);
    EXPECT_FALSE(result.Succeeded());
    return result.error.value_or(TextDiagnostic{});
  }

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
  for (const auto& c : cases) EXPECT_EQ(ToShiftJis(c.source, c.encoding), c.expected) << c.source;
}

TEST_F(ShiftJisTextTest, ByteOrderMarkWithDamagedUtf8IsAnErrorNotShiftJis) {
  const TextDiagnostic error = EncodingError("\xEF\xBB\xBFok\nあい\xFF\n");
  EXPECT_EQ(error.line, 2u);
  EXPECT_EQ(error.column, 3u);
  EXPECT_NE(error.message.find("malformed UTF-8"), std::string::npos);
}

TEST_F(ShiftJisTextTest, NamesLineAndCharacterColumnOfAnUnencodableCharacter) {
  TextDiagnostic error = EncodingError("one\r\ntwo\n\tあい😀 end\n");
  EXPECT_EQ(error.line, 3u);
  EXPECT_EQ(error.column, 4u);
  EXPECT_EQ(error.message, "character U+1F600 has no Shift-JIS form");
  error = EncodingError("a\rb€");
  EXPECT_EQ(error.line, 2u);
  EXPECT_EQ(error.column, 2u);
  EXPECT_EQ(error.message, "character U+20AC has no Shift-JIS form");
}

TEST_F(ShiftJisTextTest, WarnsAboutLinesTheInterpreterWouldCut) {
  std::string fits, tooLong;
  for (int i = 0; i < 511; ++i) fits += "あ";
  fits += "a";  // 1023 bytes in Shift-JIS, though 1534 in UTF-8
  for (int i = 0; i < 512; ++i) tooLong += "あ";
  const TextConversion result = ConvertToShiftJisText(fits + "\n" + tooLong + "\n", cp932);
  ASSERT_TRUE(result.Succeeded());
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0].line, 2u);
  EXPECT_NE(result.warnings[0].message.find("1024 bytes"), std::string::npos);
}

TEST_F(ShiftJisTextTest, RefusesWhatUtf8WithLfCannotGiveBack) {
  TextDiagnostic error = DecodingError("ok\r\n\x82\xA0x\nnext");
  EXPECT_EQ(error.line, 2u);
  EXPECT_EQ(error.column, 3u);
  EXPECT_NE(error.message.find("LF without CR"), std::string::npos);
  error = DecodingError("a\rb");
  EXPECT_EQ(error.line, 1u);
  EXPECT_NE(error.message.find("CR without LF"), std::string::npos);
  error = DecodingError("ok\r\n\x82\xA0\x80z");
  EXPECT_EQ(error.line, 2u);
  EXPECT_EQ(error.column, 2u);
  EXPECT_EQ(error.message, "bytes that are not Shift-JIS");
}

TEST_F(ShiftJisTextTest, WarnsAboutCharactersThatComeBackSpelledOtherwise) {
  // ED 40 (NEC selection) and FA 5C (IBM extension) are the same character.
  const TextConversion result = ConvertToUtf8Text("a\r\nx\xED\x40y\xED\x40", cp932);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.bytes, "a\nx纊y纊");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0].line, 2u);
  EXPECT_EQ(result.warnings[0].column, 2u);
  EXPECT_NE(result.warnings[0].message.find("ED 40 here but encodes as FA 5C"), std::string::npos);
}

}  // namespace
}  // namespace qv::tool
