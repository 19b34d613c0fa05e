// Ogg Vorbis encoding of synthesized sound, byte for byte the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::tool {

struct VorbisInput {
  std::vector<float> samples;  // interleaved, -1..1
  int channels = 1;
  int rate = 44100;
  float quality = 0.3f;  // libvorbisenc's VBR quality, -0.1..1
  int serialNumber = 1;  // the Ogg stream's serial: fixed, so the output never varies
};

struct VorbisOutcome {
  bool succeeded = false;
  std::vector<uint8_t> bytes;
  std::string error;
};

// Encodes `input` as one Ogg Vorbis stream with no comments but the encoder's vendor string.
VorbisOutcome EncodeVorbis(const VorbisInput& input);

}  // namespace qv::tool
