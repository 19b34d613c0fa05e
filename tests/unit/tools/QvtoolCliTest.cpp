// The qvtool program as a shell sees it: exit statuses, messages, and files left behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "graphics/PictureFile.h"
#include "qvtool/FileIo.h"
#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

class QvtoolCliTest : public ::testing::Test {
 protected:
  struct Run {
    int status;
    std::string out;
    std::string err;
  };

  Run Qvtool(const std::string& arguments) {
    const std::string command = std::string("'") + QV_QVTOOL_PATH + "' " + arguments + " >" +
                                Path("stdout") + " 2>" + Path("stderr");
    const int raw = std::system(command.c_str());
    return Run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents("stdout"), Contents("stderr")};
  }

  std::string Path(const std::string& name) { return "'" + (temp / name).string() + "'"; }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(temp / name, std::ios::binary) << bytes;
  }

  std::string Contents(const std::string& name) {
    std::string bytes, error;
    ReadFileBytes(temp / name, bytes, error);
    return bytes;
  }

  test::TempDir dir;
  const std::filesystem::path temp{dir.Path()};
};

TEST_F(QvtoolCliTest, HelpAndVersionSucceedAndCommandLineMistakesExitWithTwo) {
  Run run = Qvtool("--version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("qvtool ") + QV_VERSION + "\n");
  run = Qvtool("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("make-sample DIR"), std::string::npos);
  for (const char* arguments :
       {"", "frobnicate", "encode onlyone", "encode a b c", "--sjs", "decode a b --verbose",
        "make-sample", "make-sample d --sjis", "lint", "lint a b", "lint d --quiet --json",
        "lint d --source", "encode a b --json"}) {
    run = Qvtool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("qvtool: "), std::string::npos) << arguments;
    EXPECT_TRUE(run.out.empty()) << arguments;
  }
}

TEST_F(QvtoolCliTest, EncodeThenDecodeGivesTheSourceBack) {
  Write("script.txt", "陽菜「＊＊＊」\n$C\nlast line");
  ASSERT_EQ(Qvtool("encode " + Path("script.txt") + " " + Path("game.qv")).status, 0);
  const Run run = Qvtool("decode " + Path("game.qv") + " " + Path("back.txt"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.err.empty());
  EXPECT_EQ(Contents("back.txt"), "陽菜「＊＊＊」\n$C\nlast line");
}

TEST_F(QvtoolCliTest, FailuresNameThePlaceAndKeepTheOldOutput) {
  Write("script.txt", "one\ntwo\nthree 😀\n");
  Write("game.qv", "previous");
  Run run = Qvtool("encode " + Path("script.txt") + " " + Path("game.qv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            (temp / "script.txt").string() + ":3:7: character U+1F600 has no Shift-JIS form\n");
  EXPECT_EQ(Contents("game.qv"), "previous");

  run = Qvtool("encode " + Path("absent.txt") + " " + Path("new.qv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "qvtool: cannot read " + (temp / "absent.txt").string() +
                         ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(temp / "new.qv"));
}

TEST_F(QvtoolCliTest, DecodeNotesAForeignKeyAndPointsToSjisForOddBytes) {
  std::string scrambled;
  for (char c : std::string("a\r\nb\x80\r\n")) scrambled += static_cast<char>(c ^ 0x33);
  Write("odd.qv", scrambled);
  Run run = Qvtool("decode " + Path("odd.qv") + " " + Path("odd.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("key 0x33"), std::string::npos);
  EXPECT_NE(run.err.find(":2:2: bytes that are not Shift-JIS"), std::string::npos);
  EXPECT_NE(run.err.find("--sjis"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(temp / "odd.txt"));
  run = Qvtool("decode " + Path("odd.qv") + " " + Path("odd.txt") + " --sjis");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Contents("odd.txt"), "a\r\nb\x80\r\n");
}

TEST_F(QvtoolCliTest, MakeSampleWritesAFolder) {
  EXPECT_EQ(Qvtool("make-sample " + Path("game")).status, 0);
  EXPECT_TRUE(std::filesystem::exists(temp / "game" / "sample.qv"));
}

// scramble and unscramble: background files for the engine and back, refusing non-pictures.
TEST_F(QvtoolCliTest, ScrambleWritesWhatTheEngineUnscramblesAndUnscrambleUndoesIt) {
  const std::vector<uint8_t> bitmap = graphics::EncodeBitmap(core::Surface(7, 3));
  const std::string plain(bitmap.begin(), bitmap.end());
  Write("bg.bmp", plain);
  ASSERT_EQ(Qvtool("scramble " + Path("bg.bmp") + " " + Path("bg.scr")).status, 0);
  std::string expected = plain;
  for (size_t i = 0; i < graphics::kScrambledBytes; ++i) expected[i] ^= graphics::kBackgroundKey;
  EXPECT_EQ(Contents("bg.scr"), expected);
  ASSERT_EQ(Qvtool("unscramble " + Path("bg.scr") + " " + Path("back.bmp")).status, 0);
  EXPECT_EQ(Contents("back.bmp"), plain);

  // The wrong way round is recognised, and nothing is written.
  Run run = Qvtool("scramble " + Path("bg.scr") + " " + Path("out.bmp"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "qvtool: " + (temp / "bg.scr").string() + ": already scrambled\n");
  run = Qvtool("unscramble " + Path("bg.bmp") + " " + Path("out.bmp"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("not scrambled"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

TEST_F(QvtoolCliTest, ScrambleRefusesWhatIsNotA24BitBitmapWithTheReason) {
  std::vector<uint8_t> topDown = graphics::EncodeBitmap(core::Surface(4, 4));
  topDown[25] = 0xFF;  // the height's top byte: negative
  Write("topdown.bmp", std::string(topDown.begin(), topDown.end()));
  Run run = Qvtool("scramble " + Path("topdown.bmp") + " " + Path("out.bmp"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(": not a 24-bit uncompressed bottom-up bitmap (rows stored top-down"),
            std::string::npos)
      << run.err;
  Write("text.bmp", "hello");
  run = Qvtool("unscramble " + Path("text.bmp") + " " + Path("out.bmp"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("does not unscramble to a 24-bit"), std::string::npos) << run.err;
  EXPECT_EQ(Qvtool("scramble --sjis " + Path("text.bmp") + " " + Path("out.bmp")).status, 2);
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

}  // namespace
}  // namespace qv::tool
