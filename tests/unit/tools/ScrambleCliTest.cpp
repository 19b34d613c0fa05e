// qvtool scramble and unscramble: background files for the engine and back, refusing non-pictures.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "graphics/PictureFile.h"
#include "qvtool/FileIo.h"
#include "unit/tools/TempFolder.h"

namespace qv::tool {
namespace {

std::string PlainBitmap(int width, int height) {
  core::Surface surface(width, height);
  for (size_t i = 0; i < surface.SizeBytes(); ++i) surface.Data()[i] = static_cast<uint8_t>(i * 3);
  const std::vector<uint8_t> file = graphics::EncodeBitmap(surface);
  return {file.begin(), file.end()};
}

class ScrambleCliTest : public ::testing::Test {
 protected:
  struct Run {
    int status;
    std::string err;
  };

  Run Qvtool(const std::string& command, const std::string& in, const std::string& out) {
    const std::string line = std::string("'") + QV_QVTOOL_PATH + "' " + command + " '" +
                             (temp / in).string() + "' '" + (temp / out).string() + "' 2>'" +
                             (temp / "stderr").string() + "'";
    const int raw = std::system(line.c_str());
    Run run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents("stderr")};
    std::filesystem::remove(temp / "stderr");
    return run;
  }

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

TEST_F(ScrambleCliTest, ScrambleWritesWhatTheEngineUnscramblesAndUnscrambleUndoesIt) {
  const std::string plain = PlainBitmap(7, 3);
  Write("bg.bmp", plain);
  ASSERT_EQ(Qvtool("scramble", "bg.bmp", "bg.scr").status, 0);
  const std::string scrambled = Contents("bg.scr");
  ASSERT_EQ(scrambled.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    const uint8_t key = i < graphics::kScrambledBytes ? graphics::kBackgroundKey : 0;
    EXPECT_EQ(static_cast<uint8_t>(scrambled[i]), static_cast<uint8_t>(plain[i]) ^ key) << i;
  }
  ASSERT_EQ(Qvtool("unscramble", "bg.scr", "back.bmp").status, 0);
  EXPECT_EQ(Contents("back.bmp"), plain);
}

TEST_F(ScrambleCliTest, RefusesFilesOfTheWrongFormAndLeavesNoOutput) {
  Write("plain.bmp", PlainBitmap(4, 4));
  ASSERT_EQ(Qvtool("scramble", "plain.bmp", "done.bmp").status, 0);

  Run run = Qvtool("scramble", "done.bmp", "twice.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("done.bmp: already scrambled"), std::string::npos) << run.err;
  run = Qvtool("unscramble", "plain.bmp", "out.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("not scrambled"), std::string::npos) << run.err;

  std::string topDown = PlainBitmap(4, 4);
  topDown[25] = '\xFF';  // the height's top byte: negative
  Write("topdown.bmp", topDown);
  run = Qvtool("scramble", "topdown.bmp", "out.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("topdown.bmp: not a 24-bit uncompressed bottom-up bitmap (rows stored "
                         "top-down"),
            std::string::npos)
      << run.err;
  Write("text.bmp", "hello");
  run = Qvtool("unscramble", "text.bmp", "out.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("does not unscramble to a 24-bit"), std::string::npos) << run.err;
  run = Qvtool("scramble", "missing.bmp", "out.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(temp / "twice.bmp"));
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

TEST_F(ScrambleCliTest, CommandLineMistakesExitWithTwo) {
  for (const char* arguments :
       {"scramble", "scramble a", "unscramble a b c", "scramble --sjis a b"}) {
    const int raw = std::system(
        (std::string("'") + QV_QVTOOL_PATH + "' " + arguments + " >/dev/null 2>&1").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2) << arguments;
  }
}

}  // namespace
}  // namespace qv::tool
