// Sound effects (see SoundEffects.h).
#include "audio/SoundEffects.h"

namespace qv::audio {

void PlaySoundEffect(core::Engine& engine, const std::string& path) {
  if (engine.platform.log.Enabled()) engine.Log("se " + engine.Utf8(engine.GamePart(path)));
}

}  // namespace qv::audio
