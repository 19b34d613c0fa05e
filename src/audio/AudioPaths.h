// The paths of the ripped CD tracks.
#pragma once

#include <optional>
#include <string>

#include "audio/AudioState.h"

namespace qv::audio {

// "trackNN.ogg" for a track of 0-99 (two digits).
std::string TrackFileName(int track);

// The ripped CD track `track` (base directory + cdTrackFolder + "trackNN.ogg"), or nothing when
// the number has more than two digits or is negative, or the path would be too long.
std::optional<std::string> CdTrackPath(AudioState& audio, int32_t track);

}  // namespace qv::audio
