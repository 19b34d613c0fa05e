// WAV output of headless runs (see WavWriter.h).
#include "platform/headless/WavWriter.h"

#include <array>
#include <vector>

namespace qv::platform::headless {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

constexpr size_t kHeaderBytes = 44;

void Store(std::array<uint8_t, kHeaderBytes>& h, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    h[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}
void StoreTag(std::array<uint8_t, kHeaderBytes>& h, size_t at, const char* tag) {
  for (size_t i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(tag[i]);
}

std::array<uint8_t, kHeaderBytes> Header(const PcmFormat& format, uint32_t dataBytes) {
  std::array<uint8_t, kHeaderBytes> h{};
  StoreTag(h, 0, "RIFF");
  Store(h, 4, 36 + dataBytes, 4);
  StoreTag(h, 8, "WAVE");
  StoreTag(h, 12, "fmt ");
  Store(h, 16, 16, 4);
  Store(h, 20, 1, 2);
  Store(h, 22, format.channels, 2);
  Store(h, 24, format.rate, 4);
  Store(h, 28, format.rate * format.BytesPerFrame(), 4);
  Store(h, 32, format.BytesPerFrame(), 2);
  Store(h, 34, 16, 2);
  StoreTag(h, 36, "data");
  Store(h, 40, dataBytes, 4);
  return h;
}

}  // namespace

std::vector<int16_t> ConvertPcm(const PcmFormat& from, std::span<const int16_t> samples,
                                const PcmFormat& to) {
  const size_t inFrames = samples.size() / from.channels;
  const size_t outFrames = from.rate == to.rate
                               ? inFrames
                               : static_cast<size_t>(uint64_t(inFrames) * to.rate / from.rate);
  std::vector<int16_t> out(outFrames * to.channels);
  for (size_t f = 0; f < outFrames; ++f) {
    const size_t src =
        from.rate == to.rate ? f : static_cast<size_t>(uint64_t(f) * from.rate / to.rate);
    const int16_t* frame = &samples[src * from.channels];
    int32_t mixed = 0;
    for (int c = 0; c < from.channels; ++c) mixed += frame[c];
    for (int c = 0; c < to.channels; ++c) {
      out[f * to.channels + c] =
          from.channels == to.channels ? frame[c] : static_cast<int16_t>(mixed / from.channels);
    }
  }
  return out;
}

WavWriter::~WavWriter() {
  if (file_) std::fclose(file_);
}

bool WavWriter::Start(const PcmFormat& format) {
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) {
    failed_ = true;
    return false;
  }
  format_ = format;
  const auto header = Header(format_, 0);
  return std::fwrite(header.data(), 1, header.size(), file_) == header.size();
}

bool WavWriter::Append(const PcmFormat& format, std::span<const int16_t> samples) {
  if (failed_) return false;
  if (!file_ && !Start(format)) return false;
  std::vector<int16_t> converted;
  if (format.rate != format_.rate || format.channels != format_.channels) {
    converted = ConvertPcm(format, samples, format_);
    samples = converted;
  }
  if (samples.empty()) return true;
  std::vector<uint8_t> bytes;
  bytes.reserve(samples.size() * 2);
  for (int16_t s : samples) Put16(bytes, static_cast<uint16_t>(s));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    failed_ = true;
    return false;
  }
  dataBytes_ += bytes.size();
  // The sizes are kept right after every append, so the file is complete whenever the run stops.
  const auto header = Header(format_, static_cast<uint32_t>(dataBytes_));
  std::fseek(file_, 0, SEEK_SET);
  std::fwrite(header.data(), 1, header.size(), file_);
  std::fseek(file_, 0, SEEK_END);
  std::fflush(file_);
  return true;
}

}  // namespace qv::platform::headless
