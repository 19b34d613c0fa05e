// The paths the sound commands compose: base directory + a game path, never longer than 259 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "audio/AudioState.h"

namespace qv::audio {

// The game's paths had 260 bytes with their terminating zero.
inline constexpr size_t kMaxPathBytes = 259;

// Base directory + `relative`, or nothing (and a log line) when that would be longer than
// kMaxPathBytes: a cut path could name a different file.
std::optional<std::string> ComposePath(core::Services& services, std::string_view relative);

// "trackNN.ogg" for a track of 0-99 (two digits).
std::string TrackFileName(int track);

// The ripped CD track `track` (base directory + cdTrackFolder + "trackNN.ogg"), or nothing when
// the number has more than two digits or is negative, or the path would be too long.
std::optional<std::string> CdTrackPath(AudioState& audio, int32_t track);

}  // namespace qv::audio
