// Game paths on a POSIX file system: case, separators, code page 932 names, no escape, atomic
// replacement (kill -9 at random moments included), stale temporary files, and where the save
// folder is kept.
#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/common/TableCp932.h"
#include "platform/posix/SaveFolderChoice.h"
#include "support/HeadlessGame.h"
#include "support/ScopedEnv.h"

namespace qv::test {
namespace {

struct Files : ::testing::Test {
  TempDir dir;
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files{dir.Path(), cp932};
  std::string base = files.BaseDirectory();
};

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Files, WindowsPathsMatchAnyCaseEitherSeparatorAndCodePage932NamesInsideTheFolderOnly) {
  WriteFile(dir.Path() + "/cg/Menu/Logo.BMP", "pic");
  WriteFile(dir.Path() + "/音声/あ.ogg", "v");
  WriteFile(dir.Path() + "/big", std::string(1000, 'x'));
  auto bytes = files.ReadAll(base + "CG\\menu\\logo.bmp");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "pic");
  EXPECT_TRUE(files.Exists("cg/menu/LOGO.bmp"));
  EXPECT_TRUE(files.Exists(base + "\\cg\\\\menu\\logo.bmp"));  // doubled separators are fine
  EXPECT_FALSE(files.Exists(base + "cg\\menu\\other.bmp"));
  EXPECT_TRUE(files.Exists(base + "\x89\xB9\x90\xBA\\\x82\xA0.ogg"));
  EXPECT_EQ(files.ReadPrefix("big", 10)->size(), 10u);
  EXPECT_FALSE(files.ReadAll("cg"));  // a folder is not a file

  EXPECT_FALSE(files.Resolve(base + "..\\..\\etc\\passwd"));
  EXPECT_FALSE(files.Resolve("/etc/passwd"));
  EXPECT_FALSE(files.ReadAll("../outside"));
  EXPECT_TRUE(files.Resolve("a/../b"));

  // Only plain files, sorted by their bytes.
  WriteFile(dir.Path() + "/b.qv", "");
  WriteFile(dir.Path() + "/B.ist", "");
  EXPECT_EQ(files.ListGameFolder(), (std::vector<std::string>{"B.ist", "b.qv", "big"}));
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

// Two records that differ in every byte, so any mix of them shows.
std::string Record(char first) {
  std::string bytes(1592, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(first + i * 31);
  return bytes;
}

// Kill -9 at random moments of a process that keeps replacing a slot file: never torn, never gone.
TEST_F(Files, KillSoakEveryKillLeavesTheOldOrTheNewSlotWholeAndStartUpClearsTheRest) {
  constexpr int kKills = 1000;
  const std::string slot = base + "save\\save01.sav";
  const std::string onDisk = dir.Path() + "/save/save01.sav";
  const std::string a = Record(1), b = Record(2);
  const std::vector<uint8_t> bytesA(a.begin(), a.end()), bytesB(b.begin(), b.end());
  ASSERT_TRUE(files.CreateDirectory(base + "save"));
  ASSERT_TRUE(files.ReplaceAtomically(slot, bytesA));

  const char* fixedSeed = std::getenv("QV_SOAK_SEED");
  const unsigned seed = fixedSeed ? static_cast<unsigned>(std::strtoul(fixedSeed, nullptr, 10))
                                  : std::random_device{}();
  // Delays span two replacements as this disk does them (a few milliseconds of flushing on a
  // disk, microseconds in memory), so the kills fall before, inside and between them.
  const auto timed = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(files.ReplaceAtomically(slot, bytesA));
  const auto replaceUs = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - timed)
                             .count() /
                         5;
  const int maxDelayUs = static_cast<int>(std::clamp<long>(2 * replaceUs, 1000, 30000));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayUs(0, maxDelayUs);
  int changes = 0;
  std::string last = a;
  for (int kill = 0; kill < kKills; ++kill) {
    // The delay counts from the child's first replacement: a fork can take longer than many
    // replacements (much longer in a sanitizer build), which would leave nothing to interrupt.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      const bool nextIsB = last == a;  // every replacement that completes changes the slot
      const char go = 1;
      if (write(ready[1], &go, 1) != 1) _exit(1);
      for (unsigned i = 0;; ++i)
        files.ReplaceAtomically(slot, (i % 2 == 0) == nextIsB ? bytesB : bytesA);
    }
    close(ready[1]);
    char go = 0;
    ASSERT_EQ(read(ready[0], &go, 1), 1);
    close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const std::string now = ReadFile(onDisk);
    ASSERT_TRUE(now == a || now == b)
        << "kill " << kill << " of seed " << seed << ": " << now.size() << " bytes";
    changes += now != last;
    last = now;
  }
  const int stale = static_cast<int>(Entries(dir.Path() + "/save").size()) - 1;
  std::printf("%d kills (QV_SOAK_SEED=%u, delays up to %d us): %d changes, %d temporary files\n",
              kKills, seed, maxDelayUs, changes, stale);
  // Otherwise the kills never met a replacement and nothing was tried.
  EXPECT_GT(changes, 0);
  EXPECT_GT(stale, 0);

  // The names the replacement leaves are the ones start-up clears, and only plain files named
  // exactly so are.
  for (const char* name :
       {"env.dat.tmp-ZZZZZZ", "save01.sav.tmp-12345", "save01.sav.tmp-1234567", ".tmp-abcdef",
        "save01.sav.tmp-ab_def", "save01.sav.TMP-abcdef", "x.tmp-abcdef/f"}) {
    WriteFile(dir.Path() + "/save/" + name, "x");
  }
  EXPECT_EQ(files.RemoveStaleTemporaries(base + "save"), stale + 1);
  EXPECT_EQ(Entries(dir.Path() + "/save"),
            (std::vector<std::string>{".tmp-abcdef", "save01.sav", "save01.sav.TMP-abcdef",
                                      "save01.sav.tmp-12345", "save01.sav.tmp-1234567",
                                      "save01.sav.tmp-ab_def", "x.tmp-abcdef"}));
  EXPECT_TRUE(ReadFile(onDisk) == a || ReadFile(onDisk) == b);
}

TEST(SaveFolderChoice, AWritableSaveFolderWinsElseTheDataFolderTakesOver) {
  using platform::posix::SavePlace;
  struct Case {
    bool saveExists, saveWritable, gameWritable;
    SavePlace place;
  } cases[] = {
      {true, true, false, SavePlace::GameFolder},  // saves made before stay where they are
      {true, true, true, SavePlace::GameFolder},
      {false, false, true, SavePlace::GameFolder},  // made in the game folder
      {false, false, false, SavePlace::DataFolder},
      {true, false, false, SavePlace::DataFolderWithCopies},
      {true, false, true, SavePlace::DataFolderWithCopies},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::posix::ChooseSavePlace({c.saveExists, c.saveWritable, c.gameWritable}),
              c.place)
        << c.saveExists << c.saveWritable << c.gameWritable;
  }
}

TEST(SaveFolderChoice, DataFolderFollowsXdgAndMakesTheInstanceNameAFileName) {
  struct Case {
    const char *xdg, *home, *instance, *folder;
  } cases[] = {
      {"/d", "/h", "test", "/d/qvengine/test/save"},
      {"relative", "/h", "test", "/h/.local/share/qvengine/test/save"},
      {nullptr, "/h/", "テスト", "/h/.local/share/qvengine/テスト/save"},
      {"/d/", "/h", "a/b\tc", "/d/qvengine/a_b_c/save"},
      {"/d", "/h", "..", "/d/qvengine/_../save"},
      {"/d", "/h", "", "/d/qvengine/_/save"},
      {nullptr, nullptr, "test", ""},
  };
  for (const Case& c : cases) {
    const ScopedEnv xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
    const auto host = platform::posix::SaveFolderHost::FromProcess();
    EXPECT_EQ(platform::posix::DataSaveFolder(host.dataHome, c.instance), c.folder) << c.instance;
  }
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
  platform::TableCp932 cp932;
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

}  // namespace
}  // namespace qv::test
