// Composed sound paths (see AudioPaths.h).
#include "audio/AudioPaths.h"

#include <cstdio>

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
  char name[16];
  std::snprintf(name, sizeof name, "track%02d.ogg", static_cast<int>(track));
  return ComposePath(engine, engine.cdTrackFolder + name);
}

}  // namespace qv::audio
