// Reading a sound effect's WAV file (RIFF/WAVE, 8- or 16-bit PCM, mono or stereo) into 16-bit PCM.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/AudioDevice.h"

namespace qv::audio {

// Parses `bytes` into `clip` (8-bit samples widened to 16 bits). On refusal returns false and
// says why in `reason`; nothing outside `bytes` is ever read.
bool ParseWav(std::span<const uint8_t> bytes, platform::PcmClip& clip, std::string& reason);

}  // namespace qv::audio
