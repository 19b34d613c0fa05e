// Composed sound paths (see AudioPaths.h).
#include "audio/AudioPaths.h"

namespace qv::audio {

std::optional<std::string> ComposePath(script::Engine& engine, std::string_view relative) {
  std::string path = engine.services.baseDirectory;
  path += relative;
  if (path.size() > kMaxPathBytes) {
    if (engine.services.platform.log.Enabled()) {
      engine.services.Log("path too long (" + std::to_string(path.size()) + " bytes) " +
                          engine.services.Utf8(engine.services.GamePart(path).substr(0, 64)) +
                          "...");
    }
    return std::nullopt;
  }
  return path;
}

std::optional<std::string> CdTrackPath(script::Engine& engine, int32_t track) {
  if (track < 0 || track > 99) {
    if (engine.services.platform.log.Enabled())
      engine.services.Log("cd no track " + std::to_string(track));
    return std::nullopt;
  }
  return ComposePath(engine, engine.audio.cdTrackFolder + TrackFileName(track));
}

std::string TrackFileName(int track) {
  const int two = ((track % 100) + 100) % 100;  // the caller's range check keeps this exact
  return std::string("track") + char('0' + two / 10) + char('0' + two % 10) + ".ogg";
}

}  // namespace qv::audio
