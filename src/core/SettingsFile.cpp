// env.dat and the save folder (see SettingsFile.h).
#include "core/SettingsFile.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "core/WindowRequests.h"

namespace qv::core {

std::string SaveFolderPath(const Services& services) {
  return services.baseDirectory + "\\save";
}

std::string EnvFilePath(const Services& services) {
  return SaveFolderPath(services) + "\\env.dat";
}

std::string SlotFilePath(const Services& services, int slot) {
  char name[32];
  std::snprintf(name, sizeof name, "\\save%02d.sav", slot);
  return SaveFolderPath(services) + name;
}

int EnsureSaveFolder(Services& services, bool create) {
  auto& files = services.platform.files;
  const std::string folder = SaveFolderPath(services);
  if (files.Exists(folder)) return 1;
  if (create) {
    if (files.CreateDirectory(folder)) return 1;
    ShowWarning(services, texts::kSaveFolderFailed);
  }
  return 0;
}

void PlaceSaveFolder(Services& services) {
  auto host = services.platform.files.PlaceSaveFolder(SaveFolderPath(services),
                                                      services.config.instanceName);
  if (host) services.platform.log.Write("save folder " + *host);
}

void RemoveStaleSaveFiles(Services& services) {
  services.platform.files.RemoveStaleTemporaries(SaveFolderPath(services));
}

namespace {
// A damaged env.dat may hold any numbers; the players' volumes are percentages and a negative
// speed would hold each character for weeks. The file keeps its bytes until the next write.
void ClampSettings(EnvSettings& env) {
  env.seVolume = std::clamp<int16_t>(env.seVolume, 0, 100);
  env.bgmVolume = std::clamp<int16_t>(env.bgmVolume, 0, 100);
  env.messageSpeed = std::max(env.messageSpeed.load(), 0);
}

}  // namespace

int LoadEnvSettings(Services& services) {
  if (!EnsureSaveFolder(services, true)) return 0;
  services.env.ClearFlags();
  auto image = services.platform.files.ReadAll(EnvFilePath(services));
  if (!image) {
    services.env.ApplyDefaults();
    return 0;
  }
  services.env.ReadBytes(*image);
  ClampSettings(services.env);
  return 1;
}

int SaveEnvSettings(Services& services, int flagIndex) {
  if (flagIndex != kNoImageFlag && flagIndex >= 0 &&
      flagIndex < static_cast<int>(EnvSettings::kFlagCount)) {
    services.env.imageSeenFlags[static_cast<size_t>(flagIndex)] = 1;
  }
  if (!EnsureSaveFolder(services, true)) return 0;
  bool written;
  {
    std::lock_guard lock(services.envFileMutex);
    auto image = services.env.ToBytes();
    written = services.platform.files.ReplaceAtomically(
        EnvFilePath(services), std::vector<uint8_t>(image.begin(), image.end()));
  }
  if (!written) {
    ShowWarning(services, texts::kSaveFailed);
    return 0;
  }
  return 1;
}

}  // namespace qv::core
