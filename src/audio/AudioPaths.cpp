// The CD tracks' paths (see AudioPaths.h).
#include "audio/AudioPaths.h"

#include "core/GamePath.h"

namespace qv::audio {

std::optional<std::string> CdTrackPath(AudioState& audio, int32_t track) {
  if (track < 0 || track > 99) {
    if (audio.services.platform.log.Enabled())
      audio.services.Log("cd no track " + std::to_string(track));
    return std::nullopt;
  }
  return core::ComposeGamePath(audio.services, audio.cdTrackFolder + TrackFileName(track));
}

std::string TrackFileName(int track) {
  const int two = ((track % 100) + 100) % 100;  // the caller's range check keeps this exact
  return std::string("track") + char('0' + two / 10) + char('0' + two % 10) + ".ogg";
}

}  // namespace qv::audio
