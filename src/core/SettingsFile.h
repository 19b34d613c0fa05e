// env.dat and the save folder: reading and writing the player's settings record.
#pragma once

#include <string>

#include "core/Services.h"

namespace qv::core {

// Flag index meaning "mark no image as seen".
inline constexpr int kNoImageFlag = 99;

// base directory + "\save": the folder of env.dat and the saved games.
std::string SaveFolderPath(const Services& services);
std::string EnvFilePath(const Services& services);
// The save folder + "\save%02d.sav": slot 1 is save01.sav.
std::string SlotFilePath(const Services& services, int slot);

// 1 when the save folder exists or (with create) was made; 0 otherwise, after a message when
// creating failed. Any thread.
int EnsureSaveFolder(Services& services, bool create);

// Decides where the save folder is kept on the host, which needs the instance name, and logs
// `save folder HOSTPATH` when it is not the game folder's own. Start-up, before anything in the
// folder is read.
void PlaceSaveFolder(Services& services);

// Removes the temporary files that saves interrupted by a kill left in the save folder.
// Start-up only, once the folder is ensured.
void RemoveStaleSaveFiles(Services& services);

// Reads env.dat over the settings: 1 read, 0 defaults applied (or no save folder). Start-up;
// the players follow the volumes read through AudioState::FollowVolumes.
int LoadEnvSettings(Services& services);

// Marks image `flagIndex` (0..18) as seen unless it is kNoImageFlag, then rewrites env.dat
// whole and atomically: 1 written, 0 failed (with a message). Indexes outside 0..18 mark
// nothing. Any thread; concurrent calls are serialised.
int SaveEnvSettings(Services& services, int flagIndex);

}  // namespace qv::core
