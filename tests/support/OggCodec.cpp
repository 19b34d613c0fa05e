// Ogg Vorbis for tests (see OggCodec.h).
#include "support/OggCodec.h"

#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "qvtool/VorbisEncoding.h"

namespace qv::test {

std::string EncodeOgg(const std::vector<int16_t>& samples, int rate, int channels) {
  tool::VorbisInput input;
  input.samples.reserve(samples.size());
  for (int16_t sample : samples) input.samples.push_back(sample / 32768.0f);
  input.channels = channels;
  input.rate = rate;
  input.quality = 0.4f;
  const tool::VorbisOutcome outcome = tool::EncodeVorbis(input);
  return {outcome.bytes.begin(), outcome.bytes.end()};
}

std::vector<int16_t> Tone(int frames, int rate, int channels, double hz) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  for (int f = 0; f < frames; ++f) {
    const double v = std::sin(2 * std::numbers::pi * hz * f / rate) * 16000.0;
    for (int c = 0; c < channels; ++c) {
      samples[static_cast<size_t>(f) * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
          static_cast<int16_t>(v);
    }
  }
  return samples;
}

DecodedOgg DecodeOgg(const std::string& bytes) {
  DecodedOgg decoded;
  // The library closes the stream with the file, or leaves it to the caller when opening fails.
  FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  OggVorbis_File file;
  if (!stream) return decoded;
  if (ov_open(stream, &file, nullptr, 0) != 0) {
    std::fclose(stream);
    return decoded;
  }
  const vorbis_info* info = ov_info(&file, -1);
  decoded.rate = static_cast<int>(info->rate);
  decoded.channels = info->channels;
  char buffer[8192];
  int section = 0;
  for (;;) {
    long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    if (got <= 0) break;
    const size_t old = decoded.samples.size();
    decoded.samples.resize(old + static_cast<size_t>(got) / 2);
    std::memcpy(decoded.samples.data() + old, buffer, static_cast<size_t>(got) / 2 * 2);
  }
  ov_clear(&file);
  return decoded;
}

std::vector<int16_t> AtVolume(const std::vector<int16_t>& samples, int volume) {
  std::vector<int16_t> out(samples.size());
  const double factor = volume * 0.01;
  for (size_t i = 0; i < samples.size(); ++i) out[i] = static_cast<int16_t>(factor * samples[i]);
  return out;
}

}  // namespace qv::test
