// Sound effects (see SoundEffects.h).
#include "audio/SoundEffects.h"

#include "audio/WavFile.h"

namespace qv::audio {

void PlaySoundEffect(core::Services& services, const std::string& path) {
  const bool logging = services.platform.log.Enabled();
  const std::string name = logging ? services.Utf8(services.GamePart(path)) : std::string();
  if (logging) services.Log("se " + name);
  std::optional<std::vector<uint8_t>> bytes = services.platform.files.ReadAll(path);
  if (!bytes) {
    if (logging) services.Log("se missing " + name);
    return;
  }
  platform::PcmClip clip;
  std::string reason;
  if (!ParseWav(*bytes, clip, reason)) {
    if (logging) services.Log("se refused " + name + ": " + reason);
    return;
  }
  services.platform.audio.PlayEffect(std::move(clip));
}

}  // namespace qv::audio
