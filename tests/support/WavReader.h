// Test support: reads the 16-bit PCM WAV files headless runs write, and writes small ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

struct WavData {
  int rate = 0;
  int channels = 0;
  int bits = 0;
  std::vector<int16_t> samples;  // 16-bit files only; interleaved
  std::vector<uint8_t> bytes;    // the data chunk as stored
};

// The file's format and data chunk; nothing when it is not a plain PCM WAV file.
std::optional<WavData> ReadWav(const std::string& path);

// A PCM WAV file's bytes: `data` is the data chunk as stored (8- or 16-bit samples).
std::string MakeWav(int rate, int channels, int bits, const std::vector<uint8_t>& data);

}  // namespace qv::test
