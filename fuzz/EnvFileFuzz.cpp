// env.dat: read at start-up, then written back as a seen image marks it.
#include "FuzzGame.h"
#include "core/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game;
  auto& services = game.engine.services;
  game.fakes.files.directories.insert(qv::core::SaveFolderPath(services));
  game.fakes.files.Put(qv::core::EnvFilePath(services), qv::fuzz::Bytes(data, size));
  qv::core::LoadEnvSettings(services);
  game.engine.audio.FollowVolumes(services.env);
  qv::core::SaveEnvSettings(services, size % 21 - 1);
  return 0;
}
