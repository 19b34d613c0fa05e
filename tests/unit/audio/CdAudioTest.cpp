// The start-up CD scan: drives in order, track 2 audio, ripped tracks, the one warning.
#include "audio/CdAudio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/IconvCp932.h"
#include "platform/posix/PosixFiles.h"
#include "support/FakePlatform.h"
#include "support/HeadlessGame.h"

namespace qv::audio {
namespace {

using ::testing::ElementsAre;
using Drive = test::FakeOpticalDrives::Drive;

class CdScan : public ::testing::Test {
 protected:
  CdScan() { engine.config.bgmFromCd = 1; }

  void ExpectOneWarning() {
    ASSERT_EQ(fakes().ui.boxes.size(), 1u);
    const auto& box = fakes().ui.boxes[0];
    EXPECT_EQ(box.caption, "確認");
    EXPECT_EQ(box.text, "オーディオトラックが見つかりません");
    EXPECT_EQ(box.buttons, platform::BoxButtons::Ok);
    EXPECT_EQ(box.icon, platform::BoxIcon::Warning);
  }
  test::FakePlatform& fakes() { return game.fakes; }

  test::FakeGame game{""};
  core::Engine& engine = game.engine;
  test::FakeOpticalDrives& drives = game.fakes.drives;
};

TEST_F(CdScan, NoDriveWarnsOnce) {
  EXPECT_EQ(ScanForAudioCd(engine), 0);
  ExpectOneWarning();
  EXPECT_FALSE(engine.cdFound);
  EXPECT_EQ(engine.cdDisc, nullptr);
  EXPECT_THAT(fakes().log.lines, ElementsAre("cd scan none"));
}

TEST_F(CdScan, DataDiscsEmptyDrivesAndSingleTrackDiscsAreNotTheMusicCd) {
  drives.drives = {Drive{"data", true, {false, false}}, Drive{"empty", true, {}},
                   Drive{"locked", false, {true, true}}, Drive{"single", true, {true}}};
  EXPECT_EQ(ScanForAudioCd(engine), 0);
  ExpectOneWarning();
  EXPECT_FALSE(engine.cdFound);
  EXPECT_THAT(drives.opened, ElementsAre("data", "empty", "locked", "single"));
  EXPECT_EQ(*drives.openDiscs, 0) << "discs that did not match are closed again";
}

TEST_F(CdScan, FirstDriveWhoseTrackTwoIsAudioIsKeptOpen) {
  drives.drives = {Drive{"locked", false, {true, true}}, Drive{"data", true, {false}},
                   Drive{"mixed", true, {false, true, true}}, Drive{"music", true, {true, true}}};
  EXPECT_EQ(ScanForAudioCd(engine), 1);
  EXPECT_TRUE(fakes().ui.boxes.empty());
  EXPECT_TRUE(engine.cdFound);
  EXPECT_FALSE(engine.cdRipped);
  EXPECT_THAT(drives.opened, ElementsAre("locked", "data", "mixed"));
  ASSERT_NE(engine.cdDisc, nullptr);
  EXPECT_TRUE(engine.cdDisc->IsAudioTrack(3));
  EXPECT_EQ(*drives.openDiscs, 1);
  EXPECT_THAT(fakes().log.lines, ElementsAre("cd scan found"));
}

TEST_F(CdScan, PureAudioDiscIsAccepted) {
  drives.drives = {Drive{"music", true, {true, true, true}}};
  EXPECT_EQ(ScanForAudioCd(engine), 1);
  EXPECT_TRUE(engine.cdFound);
}

TEST_F(CdScan, RippedTracksWinOverADiscWithoutOpeningIt) {
  drives.drives = {Drive{"music", true, {true, true}}};
  fakes().files.Put("C:\\game\\track02.ogg", "x");
  EXPECT_EQ(ScanForAudioCd(engine), 1);
  EXPECT_TRUE(engine.cdFound);
  EXPECT_TRUE(engine.cdRipped);
  EXPECT_EQ(engine.cdTrackFolder, "");
  EXPECT_TRUE(drives.opened.empty());
  EXPECT_TRUE(fakes().ui.boxes.empty());
  EXPECT_THAT(fakes().log.lines, ElementsAre("cd scan found"));
}

TEST_F(CdScan, NamesThatOnlyLookLikeTracksDoNotCount) {
  for (const char* name : {"track2.ogg", "track00.ogg", "track102.ogg", "track0a.ogg",
                           "track02.wav", "mytrack02.ogg", "track02.ogg.bak"}) {
    fakes().files.Put(std::string("C:\\game\\") + name, "x");
  }
  fakes().files.Put("C:\\game\\music\\track02.ogg", "x");
  EXPECT_EQ(ScanForAudioCd(engine), 0);
  EXPECT_FALSE(engine.cdRipped);
  ExpectOneWarning();
}

// Rips on a real folder, where names are matched in any case.
class CdScanOnDisk : public ::testing::Test {
 protected:
  void Put(const std::string& relative) {
    std::filesystem::create_directories(
        std::filesystem::path(dir.Path() + "/" + relative).parent_path());
    std::ofstream(dir.Path() + "/" + relative) << "rip";
  }
  int Scan() {
    engine.baseDirectory = files.BaseDirectory();
    return ScanForAudioCd(engine);
  }

  test::TempDir dir;
  platform::posix::IconvCp932 cp932;
  platform::posix::PosixFiles files{dir.Path(), cp932};
  test::FakePlatform fakes;
  platform::Platform services{fakes.clock,  fakes.window, fakes.ui,   fakes.display,
                              files,        cp932,        fakes.log,  fakes.locks,
                              fakes.drives, fakes.glyphs, fakes.audio};
  core::Engine engine{services};
};

TEST_F(CdScanOnDisk, RipsAreFoundInAnyCaseInTheGameFolderBeforeTheCdSubfolder) {
  const struct {
    std::vector<std::string> files;
    std::string folder;
  } cases[] = {
      {{"TRACK07.OGG"}, ""}, {{"Cd/Track99.Ogg"}, "cd\\"}, {{"cd/track02.ogg", "track03.ogg"}, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files[0]);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      std::filesystem::remove_all(entry.path());
    }
    for (const std::string& file : c.files) Put(file);
    EXPECT_EQ(Scan(), 1);
    EXPECT_TRUE(engine.cdFound);
    EXPECT_TRUE(engine.cdRipped);
    EXPECT_EQ(engine.cdTrackFolder, c.folder);
    EXPECT_TRUE(fakes.ui.boxes.empty());
  }
}

TEST_F(CdScanOnDisk, AFolderNamedLikeATrackIsNoRip) {
  std::filesystem::create_directories(dir.Path() + "/cd/track02.ogg");
  EXPECT_EQ(Scan(), 0);
  EXPECT_FALSE(engine.cdFound);
}

}  // namespace
}  // namespace qv::audio
