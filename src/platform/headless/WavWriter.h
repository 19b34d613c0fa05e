// A 16-bit PCM WAV file written as samples arrive, valid after every append.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "platform/AudioDevice.h"

namespace qv::platform::headless {

class WavWriter {
 public:
  explicit WavWriter(std::string path) : path_(std::move(path)) {}
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // Appends interleaved samples of `format`. The file takes the format of the first append;
  // later samples in another format are converted to it (channels mixed or copied, the rate by
  // nearest sample). False when the file cannot be written.
  bool Append(const PcmFormat& format, std::span<const int16_t> samples);

 private:
  bool Start(const PcmFormat& format);
  std::string path_;
  std::FILE* file_ = nullptr;
  PcmFormat format_;
  uint64_t dataBytes_ = 0;
  bool failed_ = false;
};

// `samples` of `from` converted to `to`: channels averaged or repeated, rate by nearest sample.
std::vector<int16_t> ConvertPcm(const PcmFormat& from, std::span<const int16_t> samples,
                                const PcmFormat& to);

}  // namespace qv::platform::headless
