// The start-up search for the game's CD music (see CdAudio.h).
#include "audio/CdAudio.h"

#include <cctype>
#include <string_view>

#include "audio/AudioPaths.h"
#include "core/WindowRequests.h"

namespace qv::audio {

namespace {

constexpr const char* kNoAudioTrack = "オーディオトラックが見つかりません";
// A disc is taken for the game's music CD when this track holds audio: the usual layout is the
// game's data in track 1 and the music from track 2 on, and a pure audio CD passes too.
constexpr int kFirstMusicTrack = 2;
constexpr int kLastTrack = 99;

// The ripped folders tried, in order, relative to the base directory.
constexpr const char* kRipFolders[] = {"", "cd\\"};

// "trackNN.ogg" with two digits 01..99, in any case.
bool IsTrackFileName(std::string_view name) {
  constexpr std::string_view kPrefix = "track", kSuffix = ".ogg";
  if (name.size() != kPrefix.size() + 2 + kSuffix.size()) return false;
  auto sameIgnoringCase = [](std::string_view a, std::string_view b) {
    for (size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    }
    return true;
  };
  if (!sameIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) return false;
  if (!sameIgnoringCase(name.substr(kPrefix.size() + 2), kSuffix)) return false;
  const char tens = name[kPrefix.size()], units = name[kPrefix.size() + 1];
  if (!std::isdigit(static_cast<unsigned char>(tens)) ||
      !std::isdigit(static_cast<unsigned char>(units))) {
    return false;
  }
  return tens != '0' || units != '0';
}

bool HoldsRippedTracks(AudioState& audio, std::string_view folder) {
  auto& files = audio.services.platform.files;
  if (folder.empty()) {
    for (const std::string& name : files.ListGameFolder()) {
      if (IsTrackFileName(name)) return true;
    }
    return false;
  }
  const std::string path = audio.services.baseDirectory + std::string(folder);
  if (!files.IsDirectory(path)) return false;
  // The lookups match each name in any case, so asking for every number finds them all.
  for (int track = 1; track <= kLastTrack; ++track) {
    const std::string file = path + TrackFileName(track);
    if (files.Exists(file) && !files.IsDirectory(file)) return true;
  }
  return false;
}

bool FindAudioDisc(AudioState& audio) {
  auto& drives = audio.services.platform.drives;
  for (const std::string& drive : drives.List()) {
    std::unique_ptr<platform::OpticalDisc> disc = drives.Open(drive);
    if (!disc) continue;
    // A disc that does not match is closed again as the loop moves on.
    if (!disc->IsAudioTrack(kFirstMusicTrack)) continue;
    audio.cdDisc = std::move(disc);
    return true;
  }
  return false;
}

}  // namespace

int ScanForAudioCd(AudioState& audio) {
  audio.cdFound = false;
  audio.cdRipped = false;
  audio.cdTrackFolder.clear();
  audio.cdDisc.reset();

  for (const char* folder : kRipFolders) {
    if (HoldsRippedTracks(audio, folder)) {
      audio.cdFound = true;
      audio.cdRipped = true;
      audio.cdTrackFolder = folder;
      audio.services.Log("cd scan found");
      return 1;
    }
  }
  if (FindAudioDisc(audio)) {
    audio.cdFound = true;
    audio.services.Log("cd scan found");
    return 1;
  }
  audio.services.Log("cd scan none");
  // Start-up runs before the main window exists, so the box has no owner.
  core::ShowMessage(audio.services, core::texts::kConfirmCaption, kNoAudioTrack,
                    platform::BoxButtons::Ok, platform::BoxIcon::Warning);
  return 0;
}

}  // namespace qv::audio
