// The qvtool program as a shell sees it: exit statuses, messages, and files left behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "qvtool/FileIo.h"
#include "unit/tools/TempFolder.h"

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
    const std::string command = std::string("'") + QV_QVTOOL_PATH + "' " + arguments + " >'" +
                                (temp / "stdout").string() + "' 2>'" + (temp / "stderr").string() +
                                "'";
    const int raw = std::system(command.c_str());
    Run run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents("stdout"), Contents("stderr")};
    std::filesystem::remove(temp / "stdout");
    std::filesystem::remove(temp / "stderr");
    return run;
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

  test::TempFolder temp;
};

TEST_F(QvtoolCliTest, HelpAndVersionSucceed) {
  Run run = Qvtool("--version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("qvtool ") + QV_VERSION + "\n");
  run = Qvtool("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("make-sample DIR"), std::string::npos);
}

TEST_F(QvtoolCliTest, CommandLineMistakesExitWithTwo) {
  for (const char* arguments : {"", "frobnicate", "encode onlyone", "encode a b c", "--sjs",
                                "decode a b --verbose", "make-sample", "make-sample d --sjis"}) {
    const Run run = Qvtool(arguments);
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
  ASSERT_EQ(Qvtool("decode --sjis " + Path("game.qv") + " " + Path("raw.txt")).status, 0);
  EXPECT_EQ(Contents("raw.txt"),
            "\x97\x7A\x8D\xD8\x81\x75\x81\x96\x81\x96\x81\x96\x81\x76\r\n$C\r\nlast line");
}

TEST_F(QvtoolCliTest, BadCharacterFailsNamingItsPlaceAndKeepsTheOldOutput) {
  Write("script.txt", "one\ntwo\nthree 😀\n");
  Write("game.qv", "previous");
  const Run run = Qvtool("encode " + Path("script.txt") + " " + Path("game.qv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            (temp / "script.txt").string() + ":3:7: character U+1F600 has no Shift-JIS form\n");
  EXPECT_EQ(Contents("game.qv"), "previous");
}

TEST_F(QvtoolCliTest, UnreadableInputFailsWithOneLine) {
  const Run run = Qvtool("encode " + Path("absent.txt") + " " + Path("game.qv"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "qvtool: cannot read " + (temp / "absent.txt").string() +
                         ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(temp / "game.qv"));
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

TEST_F(QvtoolCliTest, MakeSampleWritesAFolderButNotOverAFile) {
  EXPECT_EQ(Qvtool("make-sample " + Path("game")).status, 0);
  EXPECT_TRUE(std::filesystem::exists(temp / "game" / "sample.qv"));
  Write("file", "x");
  const Run run = Qvtool("make-sample " + Path("file"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("not a folder"), std::string::npos);
}

}  // namespace
}  // namespace qv::tool
