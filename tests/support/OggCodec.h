// Test support: Ogg Vorbis files made in memory (libvorbisenc) and decoded back (libvorbisfile).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

// An Ogg Vorbis file of `samples` (interleaved 16-bit frames) at `rate` with `channels`.
std::string EncodeOgg(const std::vector<int16_t>& samples, int rate, int channels);

// A tone of `frames` frames: a sine of `hz` at about half scale, the same on every channel.
std::vector<int16_t> Tone(int frames, int rate, int channels, double hz = 440.0);

struct DecodedOgg {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved, as the player's decoder gives them
};
// Decodes a whole file with the same library calls the player makes; empty samples on failure.
DecodedOgg DecodeOgg(const std::string& bytes);

// `samples` scaled as the player scales them: trunc(volume × 0.01 × s).
std::vector<int16_t> AtVolume(const std::vector<int16_t>& samples, int volume);

}  // namespace qv::test
