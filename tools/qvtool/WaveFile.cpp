// 16-bit PCM WAV files (see WaveFile.h).
#include "qvtool/WaveFile.h"

#include <cstddef>

namespace qv::tool {

namespace {

// Writes little-endian fields into a buffer sized beforehand (growing it field by field trips
// GCC 12's overflow warning at -O3).
class Writer {
 public:
  explicit Writer(size_t size) : bytes_(size) {}
  void Put16(uint32_t value) {
    bytes_[at_++] = static_cast<uint8_t>(value);
    bytes_[at_++] = static_cast<uint8_t>(value >> 8);
  }
  void Put32(uint32_t value) {
    Put16(value & 0xFFFF);
    Put16(value >> 16);
  }
  void PutTag(const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) bytes_[at_++] = static_cast<uint8_t>(tag[i]);
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
  size_t at_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int channels, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;
  Writer out(44 + static_cast<size_t>(dataBytes));
  out.PutTag("RIFF");
  out.Put32(36 + dataBytes);
  out.PutTag("WAVE");
  out.PutTag("fmt ");
  out.Put32(16);
  out.Put16(1);  // PCM
  out.Put16(static_cast<uint32_t>(channels));
  out.Put32(static_cast<uint32_t>(rate));
  out.Put32(static_cast<uint32_t>(rate) * blockAlign);
  out.Put16(blockAlign);
  out.Put16(16);
  out.PutTag("data");
  out.Put32(dataBytes);
  for (int16_t sample : samples) out.Put16(static_cast<uint16_t>(sample));
  return out.Take();
}

}  // namespace qv::tool
