// The settings record and its file image (see EnvSettings.h).
#include "core/EnvSettings.h"

#include <algorithm>

#include "core/Bytes.h"

namespace qv::core {

void EnvSettings::ApplyDefaults() {
  messageSpeed = 1;
  seVolume = 100;
  windowed = 1;
  bgmVolume = 75;
  screenEffects = 1;
}

std::array<uint8_t, EnvSettings::kSize> EnvSettings::ToBytes() const {
  std::array<uint8_t, kSize> image{};
  StoreI32(&image[0], messageSpeed);
  StoreI32(&image[4], windowed);
  StoreI32(&image[8], screenEffects);
  StoreI16(&image[12], seVolume);
  StoreI16(&image[14], bgmVolume);
  for (size_t i = 0; i < kFlagCount; ++i) {
    image[16 + i] = imageSeenFlags[i];
    image[36 + i] = recordFlags[i];
  }
  image[35] = padding35;
  image[55] = padding55;
  return image;
}

void EnvSettings::ReadBytes(std::span<const uint8_t> image) {
  std::array<uint8_t, kSize> merged = ToBytes();
  std::copy_n(image.begin(), std::min(image.size(), kSize), merged.begin());
  messageSpeed = LoadI32(&merged[0]);
  windowed = LoadI32(&merged[4]);
  screenEffects = LoadI32(&merged[8]);
  seVolume = LoadI16(&merged[12]);
  bgmVolume = LoadI16(&merged[14]);
  for (size_t i = 0; i < kFlagCount; ++i) {
    imageSeenFlags[i] = merged[16 + i];
    recordFlags[i] = merged[36 + i];
  }
  padding35 = merged[35];
  padding55 = merged[55];
}

void EnvSettings::ClearFlags() {
  for (auto& f : imageSeenFlags) f = 0;
  for (auto& f : recordFlags) f = 0;
}

}  // namespace qv::core
