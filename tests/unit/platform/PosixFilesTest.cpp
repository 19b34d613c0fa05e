// Game paths on a POSIX file system: case, separators, code page 932 names, no escape, atomic
// replacement, stale temporary files, and where the save folder is kept.
#include "platform/posix/PosixFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
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

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Files, ReplacementIsWholeReadableByAllAndAFailureKeepsTheOldFile) {
  ASSERT_TRUE(files.CreateDirectory(base + "\\save"));
  ASSERT_TRUE(files.ReplaceAtomically(base + "\\save\\env.dat", std::vector<uint8_t>(56, 1)));
  ASSERT_TRUE(files.ReplaceAtomically(base + "\\save\\env.dat", std::vector<uint8_t>(56, 2)));
  EXPECT_EQ(ReadFile(dir.Path() + "/save/env.dat"), std::string(56, '\2'));
  struct stat st {};
  ASSERT_EQ(stat((dir.Path() + "/save/env.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  // A folder in the way makes the rename fail after the bytes were written.
  WriteFile(dir.Path() + "/save/save01.sav/keep", "");
  EXPECT_FALSE(files.ReplaceAtomically(base + "save\\save01.sav", std::vector<uint8_t>(9)));
  EXPECT_EQ(Entries(dir.Path() + "/save"), (std::vector<std::string>{"env.dat", "save01.sav"}));
  EXPECT_FALSE(files.ReplaceAtomically(base + "missing\\dir\\f", {}));
}

TEST_F(Files, StartUpRemovesOnlyPlainFilesNamedExactlyAsTemporaries) {
  for (const char* name : {"save01.sav.tmp-a1B2c3", "env.dat.tmp-ZZZZZZ", "save01.sav",
                           "save01.sav.tmp-12345", "save01.sav.tmp-1234567", ".tmp-abcdef",
                           "save01.sav.tmp-ab_def", "save01.sav.TMP-abcdef", "x.tmp-abcdef/f"}) {
    WriteFile(dir.Path() + "/save/" + name, "x");
  }
  EXPECT_EQ(files.RemoveStaleTemporaries(base + "save"), 2);
  EXPECT_EQ(Entries(dir.Path() + "/save"),
            (std::vector<std::string>{".tmp-abcdef", "save01.sav", "save01.sav.TMP-abcdef",
                                      "save01.sav.tmp-12345", "save01.sav.tmp-1234567",
                                      "save01.sav.tmp-ab_def", "x.tmp-abcdef"}));
}

// A read-only game folder whose read-only save folder holds old saves: they are copied to the
// data folder with their times, and from then on every save path leads there.
TEST(SaveFolderPlace, ReadOnlySavesAreCopiedOnceAndPathsLeadToTheDataFolder) {
  TempDir dir;
  const std::string game = dir.Path() + "/game", data = dir.Path() + "/data";
  WriteFile(game + "/SAVE/env.dat", "old env");
  WriteFile(game + "/SAVE/save01.sav", "slot one");
  WriteFile(game + "/SAVE/save02.sav.tmp-Ab12Cd", "torn");
  WriteFile(data + "/qvengine/test/save/save02.sav", "newer slot two");
  WriteFile(game + "/SAVE/save02.sav", "older slot two");
  const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (game + "/SAVE/save01.sav").c_str(), old, 0), 0);
  platform::posix::IconvCp932 cp932;
  platform::posix::SaveFolderHost host{
      data, [&](const std::string& folder) { return folder.find("/game") == std::string::npos; }};
  platform::posix::PosixFiles files(game, cp932, host);
  const std::string base = files.BaseDirectory();

  const auto placed = files.PlaceSaveFolder(base + "\\save", "test");
  ASSERT_EQ(placed, data + "/qvengine/test/save");
  EXPECT_EQ(Entries(*placed), (std::vector<std::string>{"env.dat", "save01.sav", "save02.sav"}));
  EXPECT_EQ(ReadFile(*placed + "/save02.sav"), "newer slot two");
  struct stat st {};
  ASSERT_EQ(stat((*placed + "/save01.sav").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_EQ(files.LastWriteTime(base + "save\\SAVE01.SAV")->year, 2001);

  auto bytes = files.ReadAll(base + "Save\\save01.sav");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "slot one");
  ASSERT_TRUE(files.ReplaceAtomically(base + "save\\env.dat", std::vector<uint8_t>(56, 7)));
  EXPECT_EQ(ReadFile(*placed + "/env.dat"), std::string(56, '\7'));
  EXPECT_EQ(ReadFile(game + "/SAVE/env.dat"), "old env");
  EXPECT_EQ(files.Resolve(base + "cg\\x.bmp"), game + "/cg/x.bmp");

  // Next start: a writable save folder in the game folder keeps priority.
  platform::posix::PosixFiles writable(game, cp932,
                                       {data, [](const std::string&) { return true; }});
  EXPECT_FALSE(writable.PlaceSaveFolder(base + "\\save", "test"));
  EXPECT_EQ(writable.Resolve(base + "save\\env.dat"), game + "/SAVE/env.dat");
}

TEST_F(Files, PrefixReadsStopAtTheLimit) {
  WriteFile(dir.Path() + "/big", std::string(1000, 'x'));
  EXPECT_EQ(files.ReadPrefix("big", 10)->size(), 10u);
  EXPECT_FALSE(files.ReadAll("sub"));  // a folder is not a file
}

}  // namespace
}  // namespace qv::test
