// WAV parsing (see WavFile.h).
#include "audio/WavFile.h"

#include <optional>

namespace qv::audio {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint32_t kMaxRate = 384000;

uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
bool Tag(std::span<const uint8_t> b, size_t at, const char* tag) {
  for (int i = 0; i < 4; ++i) {
    if (b[at + i] != static_cast<uint8_t>(tag[i])) return false;
  }
  return true;
}

struct Format {
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint16_t bits = 0;
  uint16_t blockAlign = 0;
};

bool ReadFormat(std::span<const uint8_t> chunk, Format& format, std::string& reason) {
  if (chunk.size() < 16) {
    reason = "fmt chunk too short";
    return false;
  }
  if (U16(chunk, 0) != kFormatPcm) {
    reason = "not PCM (format " + std::to_string(U16(chunk, 0)) + ")";
    return false;
  }
  format.channels = U16(chunk, 2);
  format.rate = U32(chunk, 4);
  format.blockAlign = U16(chunk, 12);
  format.bits = U16(chunk, 14);
  if (format.channels != 1 && format.channels != 2) {
    reason = std::to_string(format.channels) + " channels";
    return false;
  }
  if (format.bits != 8 && format.bits != 16) {
    reason = std::to_string(format.bits) + " bits per sample";
    return false;
  }
  if (format.rate == 0 || format.rate > kMaxRate) {
    reason = "sample rate " + std::to_string(format.rate);
    return false;
  }
  if (format.blockAlign != format.channels * format.bits / 8) {
    reason = "block alignment " + std::to_string(format.blockAlign);
    return false;
  }
  return true;
}

}  // namespace

bool ParseWav(std::span<const uint8_t> bytes, platform::PcmClip& clip, std::string& reason) {
  if (bytes.size() < 12 || !Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "WAVE")) {
    reason = "not a RIFF/WAVE file";
    return false;
  }
  const uint64_t riffEnd = 8ull + U32(bytes, 4);
  if (riffEnd > bytes.size()) {
    reason = "RIFF size beyond the end of the file";
    return false;
  }
  std::optional<Format> format;
  std::span<const uint8_t> data;
  bool haveData = false;
  size_t at = 12;
  while (at + 8 <= riffEnd) {
    const uint64_t size = U32(bytes, at + 4);
    const uint64_t bodyAt = at + 8;
    if (bodyAt + size > riffEnd) {
      reason = "chunk size beyond the end of the file";
      return false;
    }
    std::span<const uint8_t> body = bytes.subspan(bodyAt, size);
    if (Tag(bytes, at, "fmt ")) {
      format.emplace();
      if (!ReadFormat(body, *format, reason)) return false;
    } else if (Tag(bytes, at, "data") && !haveData) {
      data = body;
      haveData = true;
    }
    at = static_cast<size_t>(bodyAt + size + (size & 1));  // chunks are padded to even sizes
  }
  if (!format) {
    reason = "no fmt chunk";
    return false;
  }
  if (!haveData) {
    reason = "no data chunk";
    return false;
  }
  // A trailing partial frame cannot be played; it is dropped.
  const size_t frames = data.size() / format->blockAlign;
  const size_t samples = frames * format->channels;
  clip.format.rate = format->rate;
  clip.format.channels = format->channels;
  clip.samples.resize(samples);
  for (size_t i = 0; i < samples; ++i) {
    clip.samples[i] = format->bits == 8 ? static_cast<int16_t>((data[i] - 128) * 256)
                                        : static_cast<int16_t>(U16(data, i * 2));
  }
  return true;
}

}  // namespace qv::audio
