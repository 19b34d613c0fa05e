// The start-up CD scan: drives in order, track 2 audio, ripped tracks, the one warning.
#include "audio/CdAudio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace qv::audio {
namespace {

using ::testing::ElementsAre;
using Drive = test::FakeOpticalDrives::Drive;

// A game with CD music; each test starts the scan itself.
struct CdGame : test::FakeGame {
  CdGame() : FakeGame("") { engine.services.config.bgmFromCd = 1; }

  // Its words are the golden replay's without a disc.
  void ExpectOneWarning() const {
    ASSERT_EQ(fakes.ui.boxes.size(), 1u);
    EXPECT_EQ(fakes.ui.boxes[0].buttons, platform::BoxButtons::Ok);
    EXPECT_EQ(fakes.ui.boxes[0].icon, platform::BoxIcon::Warning);
    EXPECT_THAT(fakes.log.lines, ElementsAre("cd scan none"));
  }
};

TEST(CdScan, TheFirstDriveWhoseTrackTwoIsAudioIsKeptOpenAndOtherDiscsAreClosedAgain) {
  const struct {
    std::vector<Drive> drives;
    std::vector<std::string> opened;
    bool found;
  } cases[] = {{{Drive{"data", true, {false, false}}, Drive{"empty", true, {}},
                 Drive{"locked", false, {true, true}}, Drive{"single", true, {true}}},
                {"data", "empty", "locked", "single"},
                false},
               {{Drive{"locked", false, {true, true}}, Drive{"data", true, {false}},
                 Drive{"mixed", true, {false, true, true}}, Drive{"music", true, {true, true}}},
                {"locked", "data", "mixed"},
                true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opened.back());
    CdGame game;
    game.fakes.drives.drives = c.drives;
    EXPECT_EQ(ScanForAudioCd(game.engine.audio), c.found ? 1 : 0);
    EXPECT_EQ(game.engine.audio.cdFound, c.found);
    EXPECT_FALSE(game.engine.audio.cdRipped);
    EXPECT_EQ(game.fakes.drives.opened, c.opened);
    EXPECT_EQ(*game.fakes.drives.openDiscs, c.found ? 1 : 0);
    EXPECT_EQ(game.engine.audio.cdDisc && game.engine.audio.cdDisc->IsAudioTrack(3), c.found);
    if (!c.found) {
      game.ExpectOneWarning();
    } else {
      EXPECT_TRUE(game.fakes.ui.boxes.empty());
      EXPECT_THAT(game.fakes.log.lines, ElementsAre("cd scan found"));
    }
  }
}

// Only a file named exactly like a ripped track counts: the golden replay without a disc has the
// near misses.
TEST(CdScan, RippedTracksWinOverADiscWithoutOpeningIt) {
  CdGame ripped;
  ripped.fakes.drives.drives = {Drive{"music", true, {true, true}}};
  ripped.fakes.files.Put("C:\\game\\track02.ogg", "x");
  EXPECT_EQ(ScanForAudioCd(ripped.engine.audio), 1);
  EXPECT_TRUE(ripped.engine.audio.cdFound);
  EXPECT_TRUE(ripped.engine.audio.cdRipped);
  EXPECT_EQ(ripped.engine.audio.cdTrackFolder, "");
  EXPECT_TRUE(ripped.fakes.drives.opened.empty());
  EXPECT_TRUE(ripped.fakes.ui.boxes.empty());
  EXPECT_THAT(ripped.fakes.log.lines, ElementsAre("cd scan found"));
}

}  // namespace
}  // namespace qv::audio
