// qvplay.ini: the player's settings of this engine's own, as key=value lines beside env.dat.
#pragma once

#include <string>

#include "core/Services.h"

namespace qv::core {

std::string PlayerSettingsPath(const Services& services);

// Reads the file over the comforts' settings (start-up, with the save folder placed). No file
// leaves the defaults; a damaged one is ignored with one line on stderr and in the log.
void LoadPlayerSettings(Services& services);

// Rewrites the file atomically with the settings, keeping the lines of keys this engine does not
// know (a newer version's). False, with one line on stderr and in the log, when it could not
// be written. Window thread.
bool SavePlayerSettings(Services& services);

}  // namespace qv::core
