// The sample game's sounds, synthesized by code: effects, music and voice lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::tool {

struct SampleSound {
  std::string path;  // as the engine names it, with backslashes: "sound\\logo.wav"
  std::vector<uint8_t> bytes;
  double seconds = 0;  // playing time
};

struct SampleSoundsOutcome {
  bool succeeded = false;
  std::vector<SampleSound> sounds;
  std::string error;
};

// Every sound of the sample: 16-bit PCM WAV effects under sound\, looping Ogg Vorbis music under
// bgm\ and Ogg Vorbis voice lines under voice\. The same bytes on every run.
SampleSoundsOutcome SampleSounds();

}  // namespace qv::tool
