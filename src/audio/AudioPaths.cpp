// Composed sound paths (see AudioPaths.h).
#include "audio/AudioPaths.h"

namespace qv::audio {

std::optional<std::string> ComposePath(core::Engine& engine, std::string_view relative) {
  std::string path = engine.baseDirectory;
  path += relative;
  if (path.size() > kMaxPathBytes) {
    if (engine.platform.log.Enabled()) {
      engine.Log("path too long (" + std::to_string(path.size()) + " bytes) " +
                 engine.Utf8(engine.GamePart(path).substr(0, 64)) + "...");
    }
    return std::nullopt;
  }
  return path;
}

std::optional<std::string> CdTrackPath(core::Engine& engine, int32_t track) {
  if (track < 0 || track > 99) {
    if (engine.platform.log.Enabled()) engine.Log("cd no track " + std::to_string(track));
    return std::nullopt;
  }
  return ComposePath(engine, engine.cdTrackFolder + TrackFileName(track));
}

std::string TrackFileName(int track) {
  const int two = ((track % 100) + 100) % 100;  // the caller's range check keeps this exact
  return std::string("track") + char('0' + two / 10) + char('0' + two % 10) + ".ogg";
}

}  // namespace qv::audio
