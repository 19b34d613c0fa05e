// qvtool lint on the sample game and on copies of it broken in one place each.
#include "qvtool/GameLint.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/SampleGame.h"
#include "qvtool/ScriptCodec.h"
#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(path, bytes, error)) << path << ": " << error;
  return bytes;
}

void Write(const fs::path& path, std::string_view bytes) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, bytes, error)) << path << ": " << error;
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

  void WriteScript(const fs::path& game, const std::string& source) {
    const TextConversion encoded = EncodeScript(source, cp932_);
    ASSERT_TRUE(encoded.Succeeded());
    Write(game / "sample.qv", encoded.bytes);
  }

  static int Qvtool(const std::string& arguments, std::string& out) {
    const fs::path outFile = fs::path(sampleDir_->Path()) / "stdout";
    const std::string command =
        std::string("'") + QV_QVTOOL_PATH + "' " + arguments + " >'" + outFile.string() + "'";
    const int raw = std::system(command.c_str());
    out = Read(outFile);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  static inline test::TempDir* sampleDir_ = nullptr;
  test::TempDir dir_;
  int copies_ = 0;
  platform::posix::IconvCp932 cp932_;
  const std::string source_ = Read(fs::path(QV_SOURCE_DIR) / "games/sample/script.txt");
};

// The line of the first `marker` in `text`, 1-based.
size_t LineOf(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

TEST_F(GameLintTest, TheSampleIsCleanAndTheCommandLineReportsInEachForm) {
  std::string out;
  EXPECT_EQ(Qvtool("lint '" + Sample().string() + "'", out), 0);
  EXPECT_EQ(out, "");

  const fs::path game = Copy();
  fs::remove(game / "sound" / "click.wav");
  EXPECT_EQ(Qvtool("lint '" + game.string() + "'", out), 1);
  EXPECT_EQ(out, "sound\\click.wav: missing sound\n");
  EXPECT_EQ(Qvtool("lint --quiet '" + game.string() + "'", out), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Qvtool("lint --json '" + game.string() + "'", out), 1);
  EXPECT_EQ(out,
            "[\n  {\"file\": \"sound\\\\click.wav\", \"line\": 0, \"message\": \"missing "
            "sound\"}\n]\n");

  // A source given in the script's place is checked as it would be encoded.
  Write(game / "script.txt", source_ + "😀\n");
  fs::copy_file(Sample() / "sound" / "click.wav", game / "sound" / "click.wav");
  EXPECT_EQ(
      Qvtool("lint '" + game.string() + "' --source '" + (game / "script.txt").string() + "'", out),
      1);
  EXPECT_EQ(out, (game / "script.txt").string() + ":" + std::to_string(LineOf(source_ + "😀", "😀")) +
                     ": character U+1F600 has no Shift-JIS form\n");
}

TEST_F(GameLintTest, EachBrokenCopyGivesOneLine) {
  struct Row {
    const char* what;
    std::string from, to;  // a script edit, when `from` is set
    std::function<void(const fs::path&)> breakIt;
    std::string file;
    std::string marker;           // where the problem's line is in the edited script ("" for none)
    std::string message;          // how the message starts
    size_t linesAfterMarker = 0;  // without a marker: the line itself
  };
  const auto editInstance = [](std::string from, std::string to) {
    return [from, to](const fs::path& game) {
      std::string text = Read(game / "sample.ist");
      text.replace(text.find(from), from.size(), to);
      Write(game / "sample.ist", text);
    };
  };
  const auto remove = [](std::string path) {
    return [path](const fs::path& game) { fs::remove(game / path); };
  };
  const std::string sjisLine = "bad \x81\x20 byte\r\n";
  const Row rows[] = {
      {"odd width", "", "", editInstance("\"800\"", "\"802\""), "sample.ist", "",
       "window size 802 x 600 cannot be opened: both sides must be 1 to 8192 and the width a "
       "multiple of 4"},
      {"missing key", "", "", editInstance("GameType=\"0\"", ""), "sample.ist", "",
       "key GameType= is missing"},
      {"bad number", "", "", editInstance("\"0\"", "\"0x\""), "sample.ist", "",
       "GameType=\"0x\" is not a number; the engine reads 0", 5},
      {"unknown command",
       "$imgblt cg\\bg\\sky.bmp",
       "$imgblit cg\\bg\\sky.bmp",
       {},
       "sample.qv",
       "$imgblit",
       "unknown command '$imgblit'"},
      {"hidden keyword",
       "cg\\chara\\hina.bmp",
       "cg\\chara\\waiting.bmp",
       {},
       "sample.qv",
       "waiting",
       "'$sprite' runs as 'wait', which occurs in the line and comes first in the "
       "engine's command table"},
      {"blanks before a command",
       "$stuffroll",
       "  $stuffroll",
       {},
       "sample.qv",
       "  $stuffroll",
       "blanks before '$stuffroll' make it a text line: the engine shows it and runs no "
       "'stuffroll'"},
      {"wait code in text",
       "陽菜「ねえ、朝ごはんは何にする？」",
       "陽菜「ねえ？」$C",
       {},
       "sample.qv",
       "陽菜「ねえ？」$C",
       "the wait code $C in this text line makes the engine wait without showing the text"},
      {"missing label",
       "$jmp farewell",
       "$jmp farewel1",
       {},
       "sample.qv",
       "farewel1",
       "no label ':farewel1' in the script"},
      {"label inside a longer one",
       "$jmp farewell",
       "$jmp farewel",
       {},
       "sample.qv",
       "farewel\n",
       "no label ':farewel' line: the search lands in line " +
           std::to_string(LineOf(source_, ":farewell")) + " (':farewell')"},
      {"shadowed label",
       ":quit\n",
       ":quit\n:fortune_teller\n",
       {},
       "sample.qv",
       ":fortune\n",
       "label ':fortune' is never reached: the search for it finds line " +
           std::to_string(LineOf(source_, ":quit") + 1) + " first (':fortune_teller')"},
      {"missing pick",
       "(rice,",
       "(rye,",
       {},
       "sample.qv",
       "(rye,",
       "no choice item's label ':rye' in the script"},
      {"malformed item",
       "(toast,0,トーストと目玉焼き)",
       "(toast,0)",
       {},
       "sample.qv",
       "(toast,0)",
       "malformed selword item '(toast,0)'"},
      {"49 items",
       "(toast,0,トーストと目玉焼き)\n",
       [] {
         std::string items;
         for (int i = 0; i < 49; ++i) items += "(toast,0,x)\n";
         return items;
       }(),
       {},
       "sample.qv",
       "(toast,0,x)",
       "selword has more than 48 items; the engine refuses the list here",
       48},
      {"long line",
       "―― おしまい ――",
       std::string(1100, 'a'),
       {},
       "sample.qv",
       "aaa",
       "line is 1100 bytes long; the engine keeps only the first 1023"},
      {"missing picture", "", "", remove("cg/bg/sky.bmp"), "sample.qv", "$imgblt cg\\bg\\sky.bmp",
       "missing picture cg\\bg\\sky.bmp"},
      {"unscrambled background", "", "",
       [](const fs::path& game) {
         std::string bytes = Read(game / "cg/bg/room.bmp");
         graphics::ScrambleBackground({reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()});
         Write(game / "cg/bg/room.bmp", bytes);
       },
       "sample.qv", "$imgblt cg\\bg\\room.bmp",
       "picture cg\\bg\\room.bmp cannot be used as a background: it is not scrambled (qvtool "
       "scramble prepares a background)"},
      {"mask as a sprite", "", "",
       [](const fs::path& game) {
         fs::copy_file(game / "cg/mask/circle.bmp", game / "cg/chara/hina.bmp",
                       fs::copy_options::overwrite_existing);
       },
       "sample.qv", "$sprite 0", "picture cg\\chara\\hina.bmp cannot be used as a sprite: "},
      {"missing voice", "", "", remove("voice/hina01.ogg"), "sample.qv", "voice\\hina01.ogg",
       "missing sound voice\\hina01.ogg"},
      {"missing interface part", "", "", remove("cg/menu/waitcur.bmp"), "cg\\menu\\waitcur.bmp", "",
       "missing picture"},
      {"narrow save screen", "", "",
       [](const fs::path& game) {
         fs::copy_file(game / "cg/chara/hina.bmp", game / "cg/menu/save_on.bmp",
                       fs::copy_options::overwrite_existing);
       },
       "cg\\menu\\save_on.bmp", "", "picture cannot be used as a save or load screen: "},
      {"save of another script", "", "",
       [](const fs::path& game) {
         fs::create_directory(game / "save");
         Write(game / "save/save03.sav", std::string(100, '\0'));
       },
       "save/save03.sav", "",
       "cannot be loaded (not 1592 bytes): a save from another version of the script?"},
      {"not Shift-JIS", "", "",
       [&](const fs::path& game) {
         const std::string plain = ScrambleScript(Read(game / "sample.qv")) + sjisLine;
         Write(game / "sample.qv", ScrambleScript(plain));
       },
       "sample.qv", "", "bytes that are not Shift-JIS"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const fs::path game = Copy();
    std::string source = source_;
    if (!row.from.empty()) {
      source.replace(source.find(row.from), row.from.size(), row.to);
      WriteScript(game, source);
    }
    if (row.breakIt) row.breakIt(game);
    const std::vector<LintProblem> problems = LintGame(game.string(), "", cp932_);
    std::string lines;
    for (const LintProblem& problem : problems) lines += FormatLintLine(problem) + "\n";
    EXPECT_EQ(problems.size(), 1u) << lines;
    if (problems.size() != 1) continue;
    EXPECT_EQ(problems[0].file, row.file);
    size_t line = (row.marker.empty() ? 0 : LineOf(source, row.marker)) + row.linesAfterMarker;
    // The bad bytes are on a line added after the last.
    if (row.file == "sample.qv" && row.marker.empty()) {
      line = 1 + static_cast<size_t>(std::count(source.begin(), source.end(), '\n'));
    }
    EXPECT_EQ(problems[0].line, line);
    EXPECT_TRUE(problems[0].message.starts_with(row.message)) << problems[0].message;
  }
}

}  // namespace
}  // namespace qv::tool
