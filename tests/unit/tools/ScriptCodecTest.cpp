// Scenario files: exact bytes, the scramble key, and round trips in both directions.
#include "qvtool/ScriptCodec.h"

#include <gtest/gtest.h>

#include "platform/posix/IconvCp932.h"

namespace qv::tool {
namespace {

class ScriptCodecTest : public ::testing::Test {
 protected:
  std::string Encode(std::string_view source) {
    TextConversion result = EncodeScript(source, cp932);
    EXPECT_TRUE(result.Succeeded()) << result.error->message;
    return result.bytes;
  }
  std::string Decode(std::string_view scenario, DecodedForm form = DecodedForm::kUtf8) {
    ScriptDecoding result = DecodeScript(scenario, cp932, form);
    EXPECT_TRUE(result.text.Succeeded()) << result.text.error->message;
    return result.text.bytes;
  }

  platform::posix::IconvCp932 cp932;
};

TEST_F(ScriptCodecTest, WritesShiftJisCrLfScrambledWithTheBuildKey) {
  const std::string plain = "\x81\x96\x81\x96\x81\x96\x90\xB0\x90\x62\r\n$C";
  std::string expected;
  for (char c : plain) expected += static_cast<char>(c ^ core::kScriptKey);
  EXPECT_EQ(Encode("＊＊＊晴臣\n$C"), expected);
}

TEST_F(ScriptCodecTest, DecodedSourceEncodesToTheSameFile) {
  const std::string sources[] = {
      "; comment\n:label\n晴臣「＊＊＊、おはよう」\n$C\n",
      "no break at the end\n$exit_game",
      "\n\nempty lines first\n\n",
      "ｶﾀｶﾅ and ASCII ~\\ mixed\n",
      "",
  };
  for (const std::string& source : sources) {
    const std::string scenario = Encode(source);
    EXPECT_EQ(Decode(scenario), source);
    EXPECT_EQ(Encode(Decode(scenario)), scenario);
  }
}

TEST_F(ScriptCodecTest, RecognisesAnotherKeyByItsLineEndsAndElseKeepsTheBuildKey) {
  const std::string plain = "\x90\xB0\x90\x62\r\n$C\r\n$exit_game";
  ScriptDecoding decoded = DecodeScript(ScrambleScript(plain, 0x21), cp932);
  EXPECT_EQ(decoded.key, 0x21);
  EXPECT_EQ(decoded.text.bytes, "晴臣\n$C\n$exit_game");
  decoded = DecodeScript(ScrambleScript("$C"), cp932);
  EXPECT_EQ(decoded.key, core::kScriptKey);
  EXPECT_EQ(decoded.text.bytes, "$C");
}

TEST_F(ScriptCodecTest, ShiftJisFormKeepsEveryByte) {
  // Bare LF, lone CR and a byte that is no character: all kept, as the engine would read them.
  const std::string plain = "a\nb\r\n\x80\r";
  EXPECT_EQ(Decode(ScrambleScript(plain), DecodedForm::kShiftJis), plain);
  EXPECT_FALSE(DecodeScript(ScrambleScript(plain), cp932).text.Succeeded());
}

}  // namespace
}  // namespace qv::tool
