// Game paths on a POSIX file system: case, separators, code page 932 names, no escape, atomic.
#include "platform/posix/PosixFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/IconvCp932.h"
#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

struct Files : ::testing::Test {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  platform::posix::PosixFiles files{dir.Path(), cp932};
  std::string base = files.BaseDirectory();
};

TEST_F(Files, WindowsPathsMatchAnyCaseAndEitherSeparator) {
  WriteFile(dir.Path() + "/cg/Menu/Logo.BMP", "pic");
  auto bytes = files.ReadAll(base + "CG\\menu\\logo.bmp");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "pic");
  EXPECT_TRUE(files.Exists("cg/menu/LOGO.bmp"));
  EXPECT_TRUE(files.Exists(base + "\\cg\\\\menu\\logo.bmp"));  // doubled separators are fine
  EXPECT_FALSE(files.Exists(base + "cg\\menu\\other.bmp"));
}

TEST_F(Files, NamesSpeltInCodePage932FindTheirUtf8Files) {
  WriteFile(dir.Path() + "/音声/あ.ogg", "v");
  EXPECT_TRUE(files.Exists(base + "\x89\xB9\x90\xBA\\\x82\xA0.ogg"));
}

TEST_F(Files, NothingOutsideTheGameFolderIsReached) {
  EXPECT_FALSE(files.Resolve(base + "..\\..\\etc\\passwd"));
  EXPECT_FALSE(files.Resolve("/etc/passwd"));
  EXPECT_FALSE(files.ReadAll("../outside"));
  EXPECT_TRUE(files.Resolve("a/../b"));
}

TEST_F(Files, ListsOnlyPlainFilesSortedByBytes) {
  WriteFile(dir.Path() + "/b.qv", "");
  WriteFile(dir.Path() + "/B.ist", "");
  WriteFile(dir.Path() + "/sub/x", "");
  EXPECT_EQ(files.ListGameFolder(), (std::vector<std::string>{"B.ist", "b.qv"}));
}

TEST_F(Files, ReplacementIsWholeAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(files.CreateDirectory(base + "\\save"));
  ASSERT_TRUE(files.ReplaceAtomically(base + "\\save\\env.dat", std::vector<uint8_t>(56, 1)));
  ASSERT_TRUE(files.ReplaceAtomically(base + "\\save\\env.dat", std::vector<uint8_t>(56, 2)));
  EXPECT_EQ(ReadFile(dir.Path() + "/save/env.dat"), std::string(56, '\2'));
  const std::filesystem::directory_iterator entries(dir.Path() + "/save");
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
  EXPECT_FALSE(files.ReplaceAtomically(base + "missing\\dir\\f", {}));
}

TEST_F(Files, PrefixReadsStopAtTheLimit) {
  WriteFile(dir.Path() + "/big", std::string(1000, 'x'));
  EXPECT_EQ(files.ReadPrefix("big", 10)->size(), 10u);
  EXPECT_FALSE(files.ReadAll("sub"));  // a folder is not a file
}

}  // namespace
}  // namespace qv::test
