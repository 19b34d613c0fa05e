// The qvtool program as a shell sees it: exit statuses, messages, and files left behind; and its
// all-or-nothing writes: the target replaced whole or left alone, no temporary file staying.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "graphics/PictureFile.h"
#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

namespace fs = std::filesystem;

class QvtoolCliTest : public ::testing::Test {
 protected:
  struct Run {
    int status;
    std::string out, err;
  };

  // Every '@' in `text` stands for the temporary folder.
  std::string At(std::string text) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
      text.replace(at, 1, dir.Path() + "/");
    return text;
  }
  Run Qvtool(const std::string& arguments) {
    const std::string command = std::string(QV_QVTOOL_PATH) + " " + At(arguments) + " >" +
                                At("@stdout") + " 2>" + At("@stderr");
    const int raw = std::system(command.c_str());
    return Run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents("stdout"), Contents("stderr")};
  }
  void Write(const std::string& name, const std::string& bytes) {
    test::WriteFile(At("@" + name), bytes);
  }
  std::string Contents(const std::string& name) { return test::ReadFile(At("@" + name)); }

  test::TempDir dir;
};

TEST_F(QvtoolCliTest, HelpAndVersionSucceedAndCommandLineMistakesExitWithTwo) {
  for (const char* arguments :
       {"", "frobnicate", "encode onlyone", "encode a b c", "--sjs", "decode a b --verbose",
        "make-sample", "make-sample d --sjis", "lint", "lint a b", "lint d --quiet --json",
        "lint d --source", "encode a b --json", "scramble --sjis a b"}) {
    const Run run = Qvtool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("qvtool: "), std::string::npos) << arguments;
    EXPECT_TRUE(run.out.empty()) << arguments;
  }
}

// Each command in turn on the same folder; what a failed one was to write stays unwritten.
TEST_F(QvtoolCliTest, EachCommandGivesItsStatusMessagesAndFiles) {
  const std::string text = "陽菜「＊＊＊」\n$C\nlast line";
  Write("script.txt", text);
  Write("back.txt", "a stale output, longer than the new one will be");
  Write("bad.txt", "one\ntwo\nthree 😀\n");
  std::string odd;
  for (char c : std::string("a\r\nb\x80\r\n")) odd += static_cast<char>(c ^ 0x33);
  Write("odd.qv", odd);
  const std::vector<uint8_t> bitmap = graphics::EncodeBitmap(core::Surface(7, 3));
  const std::string plain(bitmap.begin(), bitmap.end());
  Write("bg.bmp", plain);
  std::vector<uint8_t> topDown = graphics::EncodeBitmap(core::Surface(4, 4));
  topDown[25] = 0xFF;  // the height's top byte: negative
  Write("topdown.bmp", std::string(topDown.begin(), topDown.end()));
  Write("text.bmp", "hello");
  fs::create_directory(At("@taken"));
  platform::posix::IconvCp932 cp932;
  ASSERT_TRUE(MakeSample(At("@broken"), cp932).succeeded);
  fs::remove(At("@broken/sound/click.wav"));
  const std::string source = test::ReadFile(QV_SOURCE_DIR "/games/sample/script.txt");
  Write("lint.txt", source + "😀\n");
  Write("older/old.QV", "");
  Write("older/zz.qv", "");
  const std::string lastLine = std::to_string(1 + std::count(source.begin(), source.end(), '\n'));

  const struct {
    std::string arguments;
    int status;
    std::string err;       // parts of its messages, parted by '|'; "" for no message
    std::string out = "";  // a part of what it prints; "" for nothing at all
  } rows[] = {
      {"--version", 0, "", std::string("qvtool ") + QV_VERSION + "\n"},
      {"--help", 0, "", "make-sample DIR"},
      {"encode @script.txt @game.qv", 0, ""},
      {"decode @game.qv @back.txt", 0, ""},
      {"encode @bad.txt @back.txt", 1, "@bad.txt:3:7: character U+1F600 has no Shift-JIS form\n"},
      {"encode @absent.txt @new.qv", 1,
       "qvtool: cannot read @absent.txt: No such file or directory"},
      {"decode @taken @new.qv", 1, "qvtool: cannot read @taken: Is a directory\n"},
      {"encode @script.txt @taken", 1, "qvtool: cannot write @taken: "},
      {"encode @script.txt @missing/new.qv", 1, "qvtool: cannot write @missing/new.qv: "},
      {"decode @odd.qv @new.qv", 1, "key 0x33|@odd.qv:2:2: bytes that are not Shift-JIS|--sjis"},
      {"decode @odd.qv @odd.txt --sjis", 0, "key 0x33"},
      {"scramble @bg.bmp @bg.scr", 0, ""},
      {"unscramble @bg.scr @plain.bmp", 0, ""},
      {"scramble @bg.scr @new.bmp", 1, "qvtool: @bg.scr: already scrambled\n"},
      {"unscramble @bg.bmp @new.bmp", 1, "not scrambled"},
      {"scramble @topdown.bmp @new.bmp", 1, ": not a 24-bit uncompressed bottom-up bitmap (rows"},
      {"unscramble @text.bmp @new.bmp", 1, "does not unscramble to a 24-bit"},
      {"make-sample @nested/game", 0, ""},
      {"make-sample @script.txt", 1, "not a folder"},
      {"lint @nested/game", 0, ""},
      {"lint @script.txt", 1, "qvtool: @script.txt is not a folder\n"},
      {"lint @broken", 1, "", "sound\\click.wav: missing sound\n"},
      {"lint --quiet @broken", 1, ""},
      {"lint --json @broken", 1, "",
       "[\n  {\"file\": \"sound\\\\click.wav\", \"line\": 0, \"message\": \"missing sound\"}\n]\n"},
      // A source given in the script's place is checked as it would be encoded.
      {"lint @nested/game --source @lint.txt", 1, "",
       "@lint.txt:" + lastLine + ": character U+1F600 has no Shift-JIS form\n"},
      // A script whose name sorts first would be played instead; one after it would not.
      {"make-sample @older", 0, "@older/old.QV: warning: the engine takes this file"},
  };
  for (const auto& row : rows) {
    const Run run = Qvtool(row.arguments);
    SCOPED_TRACE(row.arguments + "\n" + run.out + run.err);
    EXPECT_EQ(run.status, row.status);
    EXPECT_TRUE(row.out.empty() ? run.out.empty() : run.out.find(At(row.out)) != std::string::npos);
    EXPECT_EQ(run.err.empty(), row.err.empty());
    std::istringstream parts(At(row.err));
    for (std::string part; std::getline(parts, part, '|');)
      EXPECT_NE(run.err.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(Contents("stderr").find("zz.qv"), std::string::npos);  // the last run's
  EXPECT_EQ(Contents("back.txt"), text);
  EXPECT_EQ(Contents("script.txt"), text);
  EXPECT_EQ(Contents("odd.txt"), "a\r\nb\x80\r\n");
  std::string scrambled = plain;
  for (size_t i = 0; i < graphics::kScrambledBytes; ++i) scrambled[i] ^= graphics::kBackgroundKey;
  EXPECT_EQ(Contents("bg.scr"), scrambled);
  EXPECT_EQ(Contents("plain.bmp"), plain);
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename();
    EXPECT_TRUE(!name.starts_with("new.") && name.find(".tmp-") == std::string::npos) << name;
  }
  EXPECT_TRUE(fs::is_empty(At("@taken")));
}

}  // namespace
}  // namespace qv::tool
