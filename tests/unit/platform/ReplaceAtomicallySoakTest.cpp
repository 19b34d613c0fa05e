// Kill -9 at random moments of a process that keeps replacing a slot file: never torn, never gone.
#include <signal.h>
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

#include "platform/posix/IconvCp932.h"
#include "platform/posix/PosixFiles.h"
#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

constexpr int kKills = 1000;
constexpr size_t kSlotBytes = 1592;

// Two records that differ in every byte, so any mix of them shows.
std::string Record(char first) {
  std::string bytes(kSlotBytes, '\0');
  for (size_t i = 0; i < kSlotBytes; ++i) bytes[i] = static_cast<char>(first + i * 31);
  return bytes;
}

TEST(ReplaceAtomicallySoak, EveryKillLeavesTheOldOrTheNewSlotWholeAndStartUpClearsTheRest) {
  TempDir dir;
  platform::posix::IconvCp932 cp932;
  platform::posix::PosixFiles files(dir.Path(), cp932);
  const std::string slot = files.BaseDirectory() + "save\\save01.sav";
  const std::string onDisk = dir.Path() + "/save/save01.sav";
  const std::string a = Record(1), b = Record(2);
  const std::vector<uint8_t> bytesA(a.begin(), a.end()), bytesB(b.begin(), b.end());
  ASSERT_TRUE(files.CreateDirectory(files.BaseDirectory() + "save"));
  ASSERT_TRUE(files.ReplaceAtomically(slot, bytesA));

  const char* fixedSeed = std::getenv("QV_SOAK_SEED");
  const unsigned seed = fixedSeed ? static_cast<unsigned>(std::strtoul(fixedSeed, nullptr, 10))
                                  : std::random_device{}();
  // Delays span two replacements as this disk does them (a few milliseconds of flushing on a
  // disk, microseconds in memory), so the kills fall before, inside and between them.
  auto timed = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(files.ReplaceAtomically(slot, bytesA));
  const auto replaceUs = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - timed)
                             .count() /
                         5;
  const int maxDelayUs = static_cast<int>(std::clamp<long>(2 * replaceUs, 1000, 30000));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayUs(0, maxDelayUs);
  const auto start = std::chrono::steady_clock::now();
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
  const int stale = static_cast<int>(std::distance(
                        std::filesystem::directory_iterator(dir.Path() + "/save"), {})) -
                    1;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "%d kills (QV_SOAK_SEED=%u, delays up to %d us) in %.1f s: the slot changed %d "
      "times, %d temporary files left\n",
      kKills, seed, maxDelayUs, seconds, changes, stale);
  // Otherwise the kills never met a replacement and nothing was tried.
  EXPECT_GT(changes, 0);
  EXPECT_GT(stale, 0);

  WriteFile(dir.Path() + "/save/save01.sav.tmp-1234567", "not ours");
  EXPECT_EQ(files.RemoveStaleTemporaries(files.BaseDirectory() + "save"), stale);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/save")) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"save01.sav", "save01.sav.tmp-1234567"}));
  EXPECT_TRUE(ReadFile(onDisk) == a || ReadFile(onDisk) == b);
}

}  // namespace
}  // namespace qv::test
