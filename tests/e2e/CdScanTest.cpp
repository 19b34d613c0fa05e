// The CD scan in a headless start-up: only for CD music, and never on the machine's own drives.
#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

constexpr const char* kCdInstance = "InstanceName=\"cd\" WindowName=\"テスト\" BGMType=\"CDDA\"";

TEST(CdScanAtStartup, CdMusicWarnsBeforeTheGameRunsUnlessRippedAndFileMusicScansNothing) {
  const std::string wave = "InstanceName=\"w\" WindowName=\"テスト\" BGMType=\"WAVE\"";
  const struct {
    std::string instance;
    bool ripped;
    std::vector<std::string> events;
  } cases[] = {
      {kCdInstance,
       false,
       {"cd scan none", "msgbox 確認 | オーディオトラックが見つかりません -> ok", "text hello",
        "exit 0"}},
      {kCdInstance, true, {"cd scan found", "text hello", "exit 0"}},
      {wave, false, {"text hello", "exit 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.events[0]);
    TempDir dir;
    if (c.ripped) WriteFile(dir.Path() + "/game/CD/Track02.OGG", "rip");
    EXPECT_EQ(PlayGame(dir, {"hello\n", c.instance}, "").Events(), c.events);
  }
}

}  // namespace
}  // namespace qv::test
