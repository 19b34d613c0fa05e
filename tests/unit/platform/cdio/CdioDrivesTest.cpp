// The libcdio drives on this machine, and what a disc answers, shown by disc images.
#include "platform/cdio/CdioDrives.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/HeadlessGame.h"

namespace qv::platform::cdio {
namespace {

// A CUE sheet and its raw 2352-byte sectors: one track per entry, data (MODE1) or audio.
std::string WriteImage(const test::TempDir& dir, const std::string& name,
                       const std::vector<bool>& audioTracks) {
  constexpr int kSectorsPerTrack = 300;  // four seconds: libcdio wants tracks of some length
  std::ofstream(dir.Path() + "/" + name + ".bin", std::ios::binary)
      << std::string(audioTracks.size() * kSectorsPerTrack * 2352, '\0');
  std::ofstream cue(dir.Path() + "/" + name + ".cue");
  cue << "FILE \"" << name << ".bin\" BINARY\n";
  for (size_t i = 0; i < audioTracks.size(); ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "  TRACK %02zu %s\n    INDEX 01 %02zu:00:00\n", i + 1,
                  audioTracks[i] ? "AUDIO" : "MODE1/2352", i * 4);
    cue << line;
  }
  return dir.Path() + "/" + name + ".cue";
}

// A build machine may have no drive at all; whatever it has, every listed drive either opens or
// says it cannot, without taking the process down. Disc images show what a disc answers.
TEST(CdioDrives, ListedDrivesOpenOrSaySoAndDiscsTellTheirTrackKinds) {
  CdioDrives drives;
  for (const std::string& drive : drives.List()) {
    EXPECT_FALSE(drive.empty());
    if (auto disc = drives.Open(drive)) disc->IsAudioTrack(2);
  }
  EXPECT_EQ(drives.Open(""), nullptr);
  EXPECT_EQ(drives.Open("/dev/no-such-drive"), nullptr);
  test::TempDir dir;
  auto mixed = drives.Open(WriteImage(dir, "mixed", {false, true, true}));
  ASSERT_NE(mixed, nullptr);
  for (int track = -1; track <= 4; ++track)
    EXPECT_EQ(mixed->IsAudioTrack(track), track == 2 || track == 3) << track;
  auto single = drives.Open(WriteImage(dir, "single", {true}));
  ASSERT_NE(single, nullptr);
  EXPECT_TRUE(single->IsAudioTrack(1) && !single->IsAudioTrack(2));
}

}  // namespace
}  // namespace qv::platform::cdio
