// The CD scan in a headless start-up: only for CD music, and never on the machine's own drives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kCdInstance = "InstanceName=\"cd\" WindowName=\"テスト\" BGMType=\"CDDA\"";

TEST(CdScanAtStartup, CdMusicWithoutADiscWarnsBeforeTheGameRuns) {
  TempDir dir;
  GameRun run = PlayGame(dir, {"hello\n", kCdInstance}, "");
  EXPECT_THAT(run.Events(),
              ElementsAre("cd scan none", "msgbox 確認 | オーディオトラックが見つかりません -> ok",
                          "text hello", "exit 0"));
}

TEST(CdScanAtStartup, RippedTracksAreFoundWithoutAWarning) {
  TempDir dir;
  WriteFile(dir.Path() + "/game/CD/Track02.OGG", "rip");
  GameRun run = PlayGame(dir, {"hello\n", kCdInstance}, "");
  EXPECT_THAT(run.Events(), ElementsAre("cd scan found", "text hello", "exit 0"));
}

TEST(CdScanAtStartup, FileMusicScansNothing) {
  TempDir dir;
  GameRun run =
      PlayGame(dir, {"hello\n", "InstanceName=\"w\" WindowName=\"テスト\" BGMType=\"WAVE\""}, "");
  EXPECT_THAT(run.Events(), ElementsAre("text hello", "exit 0"));
}

}  // namespace
}  // namespace qv::test
