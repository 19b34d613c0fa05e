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

class ScrambleCliTest : public ::testing::Test {
 protected:
  // Exit status and standard error of `qvtool ARGUMENTS`, file names taken inside the folder.
  std::pair<int, std::string> Qvtool(const std::string& command, const std::string& in,
                                     const std::string& out) {
    const std::string line = std::string("'") + QV_QVTOOL_PATH + "' " + command + " '" +
                             (temp / in).string() + "' '" + (temp / out).string() + "' 2>'" +
                             (temp / "err").string() + "'";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents("err")};
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
  const std::vector<uint8_t> bitmap = graphics::EncodeBitmap(core::Surface(7, 3));
  const std::string plain(bitmap.begin(), bitmap.end());
  Write("bg.bmp", plain);
  ASSERT_EQ(Qvtool("scramble", "bg.bmp", "bg.scr").first, 0);
  std::string expected = plain;
  for (size_t i = 0; i < graphics::kScrambledBytes; ++i) expected[i] ^= graphics::kBackgroundKey;
  EXPECT_EQ(Contents("bg.scr"), expected);
  ASSERT_EQ(Qvtool("unscramble", "bg.scr", "back.bmp").first, 0);
  EXPECT_EQ(Contents("back.bmp"), plain);

  // The wrong way round is recognised, and nothing is written.
  EXPECT_EQ(Qvtool("scramble", "bg.scr", "out.bmp"),
            std::pair(1, "qvtool: " + (temp / "bg.scr").string() + ": already scrambled\n"));
  EXPECT_EQ(Qvtool("unscramble", "bg.bmp", "out.bmp").first, 1);
  EXPECT_NE(Contents("err").find("not scrambled"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

TEST_F(ScrambleCliTest, RefusesWhatIsNotA24BitBitmapWithTheReason) {
  std::vector<uint8_t> topDown = graphics::EncodeBitmap(core::Surface(4, 4));
  topDown[25] = 0xFF;  // the height's top byte: negative
  Write("topdown.bmp", std::string(topDown.begin(), topDown.end()));
  auto [status, err] = Qvtool("scramble", "topdown.bmp", "out.bmp");
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find(": not a 24-bit uncompressed bottom-up bitmap (rows stored top-down"),
            std::string::npos)
      << err;
  Write("text.bmp", "hello");
  std::tie(status, err) = Qvtool("unscramble", "text.bmp", "out.bmp");
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("does not unscramble to a 24-bit"), std::string::npos) << err;
  EXPECT_EQ(Qvtool("scramble --sjis", "text.bmp", "out.bmp").first, 2);
  EXPECT_FALSE(std::filesystem::exists(temp / "out.bmp"));
}

}  // namespace
}  // namespace qv::tool
