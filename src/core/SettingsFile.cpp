// env.dat and the save folder (see SettingsFile.h).
#include "core/SettingsFile.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "core/WindowRequests.h"

namespace qv::core {

std::string SaveFolderPath(const Engine& engine) {
  return engine.baseDirectory + "\\save";
}

std::string EnvFilePath(const Engine& engine) {
  return SaveFolderPath(engine) + "\\env.dat";
}

std::string SlotFilePath(const Engine& engine, int slot) {
  char name[32];
  std::snprintf(name, sizeof name, "\\save%02d.sav", slot);
  return SaveFolderPath(engine) + name;
}

int EnsureSaveFolder(Engine& engine, bool create) {
  auto& files = engine.platform.files;
  const std::string folder = SaveFolderPath(engine);
  if (files.Exists(folder)) return 1;
  if (create) {
    if (files.CreateDirectory(folder)) return 1;
    ShowWarning(engine, texts::kSaveFolderFailed);
  }
  return 0;
}

void PlaceSaveFolder(Engine& engine) {
  auto host =
      engine.platform.files.PlaceSaveFolder(SaveFolderPath(engine), engine.config.instanceName);
  if (host) engine.platform.log.Write("save folder " + *host);
}

void RemoveStaleSaveFiles(Engine& engine) {
  engine.platform.files.RemoveStaleTemporaries(SaveFolderPath(engine));
}

namespace {
// A damaged env.dat may hold any numbers; the players' volumes are percentages and a negative
// speed would hold each character for weeks. The file keeps its bytes until the next write.
void ClampSettings(EnvSettings& env) {
  env.seVolume = std::clamp<int16_t>(env.seVolume, 0, 100);
  env.bgmVolume = std::clamp<int16_t>(env.bgmVolume, 0, 100);
  env.messageSpeed = std::max(env.messageSpeed.load(), 0);
}

// The players follow the settings: the music the BGM volume, the voice the SE volume.
void ApplyVolumes(Engine& engine) {
  engine.musicPlayer.volume = engine.env.bgmVolume.load();
  engine.voicePlayer.volume = engine.env.seVolume.load();
}
}  // namespace

int LoadEnvSettings(Engine& engine) {
  if (!EnsureSaveFolder(engine, true)) return 0;
  engine.env.ClearFlags();
  auto image = engine.platform.files.ReadAll(EnvFilePath(engine));
  if (!image) {
    engine.env.ApplyDefaults();
    ApplyVolumes(engine);
    return 0;
  }
  engine.env.ReadBytes(*image);
  ClampSettings(engine.env);
  ApplyVolumes(engine);
  return 1;
}

int SaveEnvSettings(Engine& engine, int flagIndex) {
  if (flagIndex != kNoImageFlag && flagIndex >= 0 &&
      flagIndex < static_cast<int>(EnvSettings::kFlagCount)) {
    engine.env.imageSeenFlags[static_cast<size_t>(flagIndex)] = 1;
  }
  if (!EnsureSaveFolder(engine, true)) return 0;
  bool written;
  {
    std::lock_guard lock(engine.envFileMutex);
    auto image = engine.env.ToBytes();
    written = engine.platform.files.ReplaceAtomically(
        EnvFilePath(engine), std::vector<uint8_t>(image.begin(), image.end()));
  }
  if (!written) {
    ShowWarning(engine, texts::kSaveFailed);
    return 0;
  }
  return 1;
}

}  // namespace qv::core
