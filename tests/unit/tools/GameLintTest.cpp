// qvtool lint on copies of the sample game broken in one place each (that the sample itself is
// clean is the command's check, QvtoolCliTest).
#include "qvtool/GameLint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/SampleGame.h"
#include "qvtool/ScriptCodec.h"
#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

namespace fs = std::filesystem;

// The line of the first `marker` in `text`, 1-based.
size_t LineOf(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

class GameLintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sampleDir_ = new test::TempDir;
    platform::posix::IconvCp932 cp932;
    ASSERT_TRUE(MakeSample(Sample(), cp932).succeeded);
  }
  static void TearDownTestSuite() { delete sampleDir_; }
  static fs::path Sample() { return fs::path(sampleDir_->Path()) / "sample"; }

  // A fresh copy of the sample folder.
  fs::path Copy() {
    const fs::path game = fs::path(dir_.Path()) / ("game" + std::to_string(copies_++));
    fs::copy(Sample(), game, fs::copy_options::recursive);
    return game;
  }

  void ExpectOneProblem(const fs::path& game, const std::string& file, size_t line,
                        const std::string& messageStart) {
    const std::vector<LintProblem> problems = LintGame(game.string(), "", cp932_);
    ASSERT_EQ(problems.size(), 1u) << (problems.empty() ? "" : FormatLintLine(problems[0]));
    EXPECT_EQ(std::tie(problems[0].file, problems[0].line), std::tie(file, line));
    EXPECT_TRUE(problems[0].message.starts_with(messageStart)) << problems[0].message;
  }

  static inline test::TempDir* sampleDir_ = nullptr;
  test::TempDir dir_;
  int copies_ = 0;
  platform::posix::IconvCp932 cp932_;
  const std::string source_ = test::ReadFile(fs::path(QV_SOURCE_DIR) / "games/sample/script.txt");
};

TEST_F(GameLintTest, EachScriptMistakeGivesOneLine) {
  const struct {
    std::string from, to;
    const char* marker;  // where the problem's line is in the edited script
    std::string message;
    size_t linesAfterMarker = 0;
  } rows[] = {
      {"$imgblt cg\\bg\\sky.bmp", "$imgblit cg\\bg\\sky.bmp", "$imgblit",
       "unknown command '$imgblit'"},
      {"cg\\chara\\hina.bmp", "cg\\chara\\waiting.bmp", "waiting", "'$sprite' runs as 'wait'"},
      {"$stuffroll", "  $stuffroll", "  $stuffroll",
       "blanks before '$stuffroll' make it a text line"},
      {"陽菜「ねえ、朝ごはんは何にする？」", "陽菜「ねえ？」$C", "陽菜「ねえ？」$C",
       "the wait code $C in this text line makes the engine wait"},
      {"$jmp farewell", "$jmp farewel1", "farewel1", "no label ':farewel1' in the script"},
      {"$jmp farewell", "$jmp farewel", "farewel\n",
       "no label ':farewel' line: the search lands in line " +
           std::to_string(LineOf(source_, ":farewell")) + " (':farewell')"},
      {":quit\n", ":quit\n:fortune_teller\n", ":fortune\n",
       "label ':fortune' is never reached: the search for it finds line " +
           std::to_string(LineOf(source_, ":quit") + 1) + " first (':fortune_teller')"},
      {"(rice,", "(rye,", "(rye,", "no choice item's label ':rye' in the script"},
      {"(toast,0,トーストと目玉焼き)", "(toast,0)", "(toast,0)",
       "malformed selword item '(toast,0)'"},
      {"(toast,0,トーストと目玉焼き)\n",
       [] {
         std::string items;
         for (int i = 0; i < 49; ++i) items += "(toast,0,x)\n";
         return items;
       }(),
       "(toast,0,x)", "selword has more than 48 items; the engine refuses the list here", 48},
      {"―― おしまい ――", std::string(1100, 'a'), "aaa",
       "line is 1100 bytes long; the engine keeps only the first 1023"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    const fs::path game = Copy();
    std::string source = source_;
    source.replace(source.find(row.from), row.from.size(), row.to);
    const TextConversion encoded = EncodeScript(source, cp932_);
    ASSERT_TRUE(encoded.Succeeded());
    test::WriteFile(game / "sample.qv", encoded.bytes);
    ExpectOneProblem(game, "sample.qv", LineOf(source, row.marker) + row.linesAfterMarker,
                     row.message);
  }
}

TEST_F(GameLintTest, EachBrokenFileGivesOneLine) {
  const auto editInstance = [](std::string from, std::string to) {
    return [from, to](const fs::path& game) {
      std::string text = test::ReadFile(game / "sample.ist");
      text.replace(text.find(from), from.size(), to);
      test::WriteFile(game / "sample.ist", text);
    };
  };
  const auto remove = [](std::string path) {
    return [path](const fs::path& game) { fs::remove(game / path); };
  };
  const auto copy = [](std::string from, std::string to) {
    return [from, to](const fs::path& game) {
      fs::copy_file(game / from, game / to, fs::copy_options::overwrite_existing);
    };
  };
  const struct {
    std::function<void(const fs::path&)> breakIt;
    std::string file;
    size_t line;
    std::string message;  // how it starts
  } rows[] = {
      {editInstance("\"800\"", "\"802\""), "sample.ist", 0,
       "window size 802 x 600 cannot be opened"},
      {editInstance("GameType=\"0\"", ""), "sample.ist", 0, "key GameType= is missing"},
      {editInstance("\"0\"", "\"0x\""), "sample.ist", 5,
       "GameType=\"0x\" is not a number; the engine reads 0"},
      {remove("cg/bg/sky.bmp"), "sample.qv", LineOf(source_, "$imgblt cg\\bg\\sky.bmp"),
       "missing picture cg\\bg\\sky.bmp"},
      {[](const fs::path& game) {
         std::string bytes = test::ReadFile(game / "cg/bg/room.bmp");
         graphics::ScrambleBackground({reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()});
         test::WriteFile(game / "cg/bg/room.bmp", bytes);
       },
       "sample.qv", LineOf(source_, "$imgblt cg\\bg\\room.bmp"),
       "picture cg\\bg\\room.bmp cannot be used as a background: it is not scrambled"},
      {copy("cg/mask/circle.bmp", "cg/chara/hina.bmp"), "sample.qv", LineOf(source_, "$sprite 0"),
       "picture cg\\chara\\hina.bmp cannot be used as a sprite: "},
      {remove("voice/hina01.ogg"), "sample.qv", LineOf(source_, "voice\\hina01.ogg"),
       "missing sound voice\\hina01.ogg"},
      {remove("cg/menu/waitcur.bmp"), "cg\\menu\\waitcur.bmp", 0, "missing picture"},
      // The save screen is read as the screen itself reads it, not as a sprite.
      {copy("cg/chara/hina.bmp", "cg/menu/save_on.bmp"), "cg\\menu\\save_on.bmp", 0,
       "picture cannot be used as a save or load screen: "},
      {[](const fs::path& game) {
         test::WriteFile(game / "save/save03.sav", std::string(100, '\0'));
       },
       "save/save03.sav", 0, "cannot be loaded (not 1592 bytes)"},
      // The bad bytes are on a line added after the last.
      {[](const fs::path& game) {
         const std::string plain =
             ScrambleScript(test::ReadFile(game / "sample.qv")) + "bad \x81\x20 byte\r\n";
         test::WriteFile(game / "sample.qv", ScrambleScript(plain));
       },
       "sample.qv", 1 + static_cast<size_t>(std::count(source_.begin(), source_.end(), '\n')),
       "bytes that are not Shift-JIS"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    const fs::path game = Copy();
    row.breakIt(game);
    ExpectOneProblem(game, row.file, row.line, row.message);
  }
}

}  // namespace
}  // namespace qv::tool
