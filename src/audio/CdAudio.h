// The start-up search for the game's CD music: ripped tracks in the game folder or an audio CD.
#pragma once

#include "audio/AudioState.h"

namespace qv::audio {

// Looks for the music of a game that takes it from CD, and records what it found in the engine:
// `cdFound`, `cdRipped`, `cdTrackFolder`, `cdDisc`. Returns 1 when found, 0 otherwise.
//
// Ripped tracks (trackNN.ogg, NN = 01..99, any case) in the game folder or its cd\ subfolder
// count first, without touching a drive: they are what can be played. Otherwise the drives are
// tried in order, and the first whose disc has an audio track 2 is kept open. When neither is
// there, one warning box says so; the game then runs without music.
//
// Window thread, during start-up, before the interpreter thread exists.
int ScanForAudioCd(AudioState& audio);

}  // namespace qv::audio
