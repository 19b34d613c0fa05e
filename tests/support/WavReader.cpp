// WAV files for tests (see WavReader.h).
#include "support/WavReader.h"

#include <fstream>
#include <iterator>

namespace qv::test {

namespace {
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}
}  // namespace

std::optional<WavData> ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF") return std::nullopt;
  WavData wav;
  bool haveData = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
    const size_t size = U32(b, at + 4);
    if (at + 8 + size > b.size()) return std::nullopt;
    if (tag == "fmt " && size >= 16) {
      wav.channels = U16(b, at + 10);
      wav.rate = static_cast<int>(U32(b, at + 12));
      wav.bits = U16(b, at + 22);
    } else if (tag == "data") {
      wav.bytes.assign(b.begin() + static_cast<long>(at) + 8,
                       b.begin() + static_cast<long>(at + 8 + size));
      haveData = true;
    }
    at += 8 + size + (size & 1);
  }
  if (!haveData || wav.channels == 0) return std::nullopt;
  if (wav.bits == 16) {
    wav.samples.resize(wav.bytes.size() / 2);
    for (size_t i = 0; i < wav.samples.size(); ++i) {
      wav.samples[i] = static_cast<int16_t>(wav.bytes[2 * i] | wav.bytes[2 * i + 1] << 8);
    }
  }
  return wav;
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
