// Short sound effects (WAV files): one at a time, a new one cuts the one playing.
#pragma once

#include <string>

#include "core/Services.h"

namespace qv::audio {

// Plays the WAV file at `path` (base directory + the game's relative path), cutting any effect
// still playing. Either thread. A missing or unusable file plays nothing and is logged.
void PlaySoundEffect(core::Services& services, const std::string& path);

}  // namespace qv::audio
