// WAV files for tests (see WavReader.h).
#include "support/WavReader.h"

#include <gtest/gtest.h>

#include "audio/WavFile.h"
#include "support/HeadlessGame.h"

namespace qv::test {

namespace {
void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}
}  // namespace

platform::PcmClip ReadRecording(const std::string& path) {
  const std::string file = ReadFile(path);
  platform::PcmClip clip;
  std::string why;
  if (!audio::ParseWav({reinterpret_cast<const uint8_t*>(file.data()), file.size()}, clip, why))
    ADD_FAILURE() << path << ": " << why;
  return clip;
}

std::string MakeWav(int rate, int channels, int bits, const std::vector<uint8_t>& data) {
  std::string out = "RIFF";
  Put(out, static_cast<uint32_t>(36 + data.size() + (data.size() & 1)), 4);
  out += "WAVEfmt ";
  Put(out, 16, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(channels), 2);
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate * channels * bits / 8), 4);
  Put(out, static_cast<uint32_t>(channels * bits / 8), 2);
  Put(out, static_cast<uint32_t>(bits), 2);
  out += "data";
  Put(out, static_cast<uint32_t>(data.size()), 4);
  out.append(data.begin(), data.end());
  if (data.size() & 1) out.push_back('\0');
  return out;
}

}  // namespace qv::test
