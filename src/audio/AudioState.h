// The run's audio: the music and voice players, the wave music and CD track asked for, and what
// the start-up CD scan found.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/OggStreamPlayer.h"
#include "core/EnvSettings.h"
#include "core/Services.h"

namespace qv::audio {

class AudioState {
 public:
  // `warn` shows a player's failure message; it may be called on the window thread.
  AudioState(core::Services& services, const OggStreamPlayer::Warn& warn)
      : services(services),
        musicPlayer(services.platform.audio, services.platform.files, platform::AudioChannel::Music,
                    warn),
        voicePlayer(services.platform.audio, services.platform.files, platform::AudioChannel::Voice,
                    warn, &voicePlaying) {}
  AudioState(const AudioState&) = delete;
  AudioState& operator=(const AudioState&) = delete;
  // The players' completions may still ask for a message box or clear voicePlaying, so they stop
  // while every other member is alive.
  ~AudioState() {
    musicPlayer.Stop();
    voicePlayer.Stop();
  }

  // The players follow the settings: the music the BGM volume, the voice the SE volume.
  void FollowVolumes(const core::EnvSettings& env) {
    musicPlayer.volume = env.bgmVolume.load();
    voicePlayer.volume = env.seVolume.load();
  }

  // The files, the log and the drives the audio reaches.
  core::Services& services;

  // 1 from a voice's start until it finished or was stopped. Either thread.
  std::atomic<int32_t> voicePlaying{0};

  // The two streaming players; the window thread plays and stops them (see AudioRequests.h).
  OggStreamPlayer musicPlayer;
  OggStreamPlayer voicePlayer;
  // The interpreter's bookkeeping: the wave music last asked for (nothing plays it) and the CD
  // player's track.
  std::string waveMusicFileName;
  int32_t cdTrack = 1;

  // What the start-up CD scan found (written before the interpreter thread starts): the game's
  // CD music as tracks ripped to trackNN.ogg in cdTrackFolder (relative to the base directory:
  // "" or "cd\\"), played on the music player, or else as a disc whose drive cdDisc keeps open for
  // the whole run.
  bool cdFound = false;
  bool cdRipped = false;
  std::string cdTrackFolder;
  std::unique_ptr<platform::OpticalDisc> cdDisc;
};

}  // namespace qv::audio
