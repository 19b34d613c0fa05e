// Sound effects (see SoundEffects.h).
#include "audio/SoundEffects.h"

#include "audio/WavFile.h"

namespace qv::audio {

void PlaySoundEffect(script::Engine& engine, const std::string& path) {
  const bool logging = engine.services.platform.log.Enabled();
  const std::string name =
      logging ? engine.services.Utf8(engine.services.GamePart(path)) : std::string();
  if (logging) engine.services.Log("se " + name);
  std::optional<std::vector<uint8_t>> bytes = engine.services.platform.files.ReadAll(path);
  if (!bytes) {
    if (logging) engine.services.Log("se missing " + name);
    return;
  }
  platform::PcmClip clip;
  std::string reason;
  if (!ParseWav(*bytes, clip, reason)) {
    if (logging) engine.services.Log("se refused " + name + ": " + reason);
    return;
  }
  engine.services.platform.audio.PlayEffect(std::move(clip));
}

}  // namespace qv::audio
