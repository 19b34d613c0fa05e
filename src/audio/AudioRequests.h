// What the players are asked to do. They start and stop on the window thread only; a request
// made on another thread is carried there and waited for, with everything it needs in it.
#pragma once

#include <cstdint>
#include <string>

#include "audio/AudioState.h"

namespace qv::audio {

struct AudioRequest {
  enum class Kind { MusicPlay, MusicStop, VoicePlay, VoiceStop, CdPlay, CdStop };
  Kind kind;
  std::string path = {};  // MusicPlay, VoicePlay: the file to play (a full path)
  int32_t track = 0;      // CdPlay: the track
};

// Any thread: carries out `request` on the window thread, at once when called there, else
// through the window's call channel, waiting for it (on the interpreter thread it throws
// StopSignal once closing has begun).
void RequestAudio(AudioState& audio, const AudioRequest& request);

// Window thread: a stream's end notice (MSG_STREAM_DONE, wParam the device handle).
void OnStreamDone(AudioState& audio, uint32_t handle);

}  // namespace qv::audio
