// 16-bit PCM WAV files, as the engine's sound effects are stored.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::tool {

// A RIFF WAVE file of 16-bit signed little-endian PCM: `samples` interleaved for `channels`.
std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int channels, int rate);

}  // namespace qv::tool
