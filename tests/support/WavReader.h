// Test support: small WAV files to play; the recordings headless runs write are read back
// with the engine's own parser (ReadRecording), which the WAV file tests pin.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"

namespace qv::test {

// The recording's frames; an empty clip, and a failed test, when it is no WAV file.
platform::PcmClip ReadRecording(const std::string& path);

// A PCM WAV file's bytes: `data` is the data chunk as stored (8- or 16-bit samples).
std::string MakeWav(int rate, int channels, int bits, const std::vector<uint8_t>& data);

}  // namespace qv::test
