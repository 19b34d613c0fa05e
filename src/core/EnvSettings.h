// The player's settings and persistent flags: in memory, and byte for byte the file env.dat.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

namespace qv::core {

// Both threads read and write the settings (the menu on the window thread, text output and the
// flag commands on the interpreter thread), so every field is atomic; the 56-byte image exists
// only when the file is read or written.
struct EnvSettings {
  static constexpr size_t kSize = 56;
  static constexpr size_t kFlagCount = 19;

  std::atomic<int32_t> messageSpeed{0};
  std::atomic<int32_t> windowed{0};
  std::atomic<int32_t> screenEffects{0};
  std::atomic<int16_t> seVolume{0};
  std::atomic<int16_t> bgmVolume{0};
  // The working copies the scripts change; numbered 1-19 in scripts, index = number - 1.
  std::array<std::atomic<uint8_t>, kFlagCount> imageSeenFlags{};
  std::array<std::atomic<uint8_t>, kFlagCount> recordFlags{};
  // The two padding bytes go back to the file as they were read.
  std::atomic<uint8_t> padding35{0};
  std::atomic<uint8_t> padding55{0};

  // Applies the defaults of a first run (no env.dat): the flags are not touched.
  void ApplyDefaults();
  std::array<uint8_t, kSize> ToBytes() const;
  // Reads up to kSize bytes over the record; a shorter image leaves the rest as it was.
  void ReadBytes(std::span<const uint8_t> image);
  void ClearFlags();
};

}  // namespace qv::core
