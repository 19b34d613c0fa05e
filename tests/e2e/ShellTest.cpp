// Playing games headless where a golden replay cannot look: a held instance lock, a read-only
// game folder and where its saves go.
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <filesystem>

#include "platform/posix/FileInstanceLocks.h"
#include "support/HeadlessGame.h"
#include "support/ScopedEnv.h"

namespace qv::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

TEST(Startup, SecondCopyOfTheSameGameLeavesSilently) {
  TempDir dir;
  WriteGame(dir, {"hello\n$C\n"});
  platform::posix::FileInstanceLocks locks(dir.Path());
  auto held = locks.TryAcquire("test");
  ASSERT_NE(held, nullptr);
  GameRun second = Play(dir, "");
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_THAT(second.Events(), ElementsAre("exit 0"));
  held.reset();  // the first copy ends: the game starts again
  EXPECT_THAT(Play(dir, "").Events(), Contains("text hello"));
}

TEST(SaveFolder, AWritableSaveFolderInAReadOnlyGameKeepsItsPlaceAndLosesOnlyStaleTemporaries) {
  TempDir dir;
  const std::string game = WriteGame(dir, {"a\n$C\n"});
  WriteFile(game + "/save/env.dat.tmp-Ab12Cd", "torn");
  WriteFile(game + "/save/save01.sav", "slot");
  chmod(game.c_str(), 0555);
  GameRun run = Play(dir, "idle\nrclick 10 10\n");
  chmod(game.c_str(), 0755);
  EXPECT_EQ(ReadFile(game + "/save/env.dat").size(), 56u);
  EXPECT_FALSE(std::filesystem::exists(game + "/save/env.dat.tmp-Ab12Cd"));
  EXPECT_EQ(ReadFile(game + "/save/save01.sav"), "slot");
  EXPECT_THAT(run.Events(), Not(Contains(::testing::StartsWith("save folder"))));
}

TEST(SaveFolder, AReadOnlyGameFolderSavesInTheUsersDataFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from writing";
  TempDir dir;
  const std::string game = WriteGame(dir, {"a\n$C\n"});
  const std::string data = dir.Path() + "/data";
  const ScopedEnv xdg("XDG_DATA_HOME", data.c_str());
  chmod(game.c_str(), 0555);
  GameRun run = Play(dir, "idle\nrclick 10 10\n");
  chmod(game.c_str(), 0755);
  EXPECT_EQ(ReadFile(data + "/qvengine/test/save/env.dat").size(), 56u);
  EXPECT_FALSE(std::filesystem::exists(game + "/save"));
  EXPECT_THAT(run.Events(), Contains("save folder " + data + "/qvengine/test/save"));
}

}  // namespace
}  // namespace qv::test
