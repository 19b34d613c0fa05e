// Sound effects (see SoundEffects.h).
#include "audio/SoundEffects.h"

#include "audio/WavFile.h"

namespace qv::audio {

void PlaySoundEffect(core::Engine& engine, const std::string& path) {
  const bool logging = engine.platform.log.Enabled();
  const std::string name = logging ? engine.Utf8(engine.GamePart(path)) : std::string();
  if (logging) engine.Log("se " + name);
  std::optional<std::vector<uint8_t>> bytes = engine.platform.files.ReadAll(path);
  if (!bytes) {
    if (logging) engine.Log("se missing " + name);
    return;
  }
  platform::PcmClip clip;
  std::string reason;
  if (!ParseWav(*bytes, clip, reason)) {
    if (logging) engine.Log("se refused " + name + ": " + reason);
    return;
  }
  engine.platform.audio.PlayEffect(std::move(clip));
}

}  // namespace qv::audio
