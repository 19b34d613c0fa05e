// The qvtool program as a shell sees it: exit statuses, messages, and files left behind; and its
// all-or-nothing writes: the target replaced whole or left alone, no temporary file staying.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

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
        "lint d --source", "encode a b --json", "scramble --sjis a b"}) {
    run = Qvtool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("qvtool: "), std::string::npos) << arguments;
    EXPECT_TRUE(run.out.empty()) << arguments;
  }
}

TEST_F(QvtoolCliTest, EncodeAndDecodeRoundTripAndFailuresNameThePlaceAndKeepTheOldOutput) {
  Write("script.txt", "陽菜「＊＊＊」\n$C\nlast line");
  ASSERT_EQ(Qvtool("encode " + Path("script.txt") + " " + Path("game.qv")).status, 0);
  Run run = Qvtool("decode " + Path("game.qv") + " " + Path("back.txt"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.err.empty());
  EXPECT_EQ(Contents("back.txt"), "陽菜「＊＊＊」\n$C\nlast line");

  Write("script.txt", "one\ntwo\nthree 😀\n");
  run = Qvtool("encode " + Path("script.txt") + " " + Path("back.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            (temp / "script.txt").string() + ":3:7: character U+1F600 has no Shift-JIS form\n");
  EXPECT_EQ(Contents("back.txt"), "陽菜「＊＊＊」\n$C\nlast line");

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

TEST_F(QvtoolCliTest, MakeSampleWritesAGameThatLintFindsCleanAndLintReportsInEachForm) {
  ASSERT_EQ(Qvtool("make-sample " + Path("game")).status, 0);
  Run run = Qvtool("lint " + Path("game"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");

  std::filesystem::rename(temp / "game/sound/click.wav", temp / "click.wav");
  run = Qvtool("lint " + Path("game"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "sound\\click.wav: missing sound\n");
  run = Qvtool("lint --quiet " + Path("game"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  run = Qvtool("lint --json " + Path("game"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "[\n  {\"file\": \"sound\\\\click.wav\", \"line\": 0, \"message\": \"missing "
            "sound\"}\n]\n");

  // A source given in the script's place is checked as it would be encoded.
  std::filesystem::rename(temp / "click.wav", temp / "game/sound/click.wav");
  std::string source, error;
  ASSERT_TRUE(ReadFileBytes(std::filesystem::path(QV_SOURCE_DIR) / "games/sample/script.txt",
                            source, error));
  Write("script.txt", source + "😀\n");
  run = Qvtool("lint " + Path("game") + " --source " + Path("script.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, (temp / "script.txt").string() + ":" +
                         std::to_string(1 + std::count(source.begin(), source.end(), '\n')) +
                         ": character U+1F600 has no Shift-JIS form\n");
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

  // The wrong way round and what is no 24-bit bitmap are refused with the reason; nothing is
  // written.
  std::vector<uint8_t> topDown = graphics::EncodeBitmap(core::Surface(4, 4));
  topDown[25] = 0xFF;  // the height's top byte: negative
  Write("topdown.bmp", std::string(topDown.begin(), topDown.end()));
  Write("text.bmp", "hello");
  const std::pair<std::string, std::string> refusals[] = {
      {"scramble bg.scr", "qvtool: " + (temp / "bg.scr").string() + ": already scrambled\n"},
      {"unscramble bg.bmp", "not scrambled"},
      {"scramble topdown.bmp",
       ": not a 24-bit uncompressed bottom-up bitmap (rows stored top-down"},
      {"unscramble text.bmp", "does not unscramble to a 24-bit"},
  };
  for (const auto& [command, reason] : refusals) {
    const std::string verb = command.substr(0, command.find(' '));
    const Run run =
        Qvtool(verb + " " + Path(command.substr(verb.size() + 1)) + " " + Path("out.bmp"));
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find(reason), std::string::npos) << command << ": " << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

TEST(FileIo, ReplacesTheTargetWholeAndFailuresLeaveTheFolderAsItWas) {
  test::TempDir dir;
  const std::filesystem::path folder{dir.Path()};
  const auto entries = [&] {
    return std::distance(std::filesystem::directory_iterator(folder), {});
  };
  std::string error, bytes;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", "first version, longer", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", std::string("\0second", 7), error)) << error;
  ASSERT_TRUE(ReadFileBytes(folder / "out.qv", bytes, error)) << error;
  EXPECT_EQ(bytes, std::string("\0second", 7));
  EXPECT_EQ(entries(), 1);

  // Reading a missing file is checked through qvtool's own message.
  std::filesystem::create_directory(folder / "taken");
  EXPECT_FALSE(WriteFileAtomically(folder / "taken", "bytes", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "out.qv", "bytes", error));
  EXPECT_EQ(entries(), 2);
  EXPECT_FALSE(ReadFileBytes(folder / "taken", bytes, error));
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace qv::tool
