// The sound requests of the window procedure (see AudioRequests.h).
#include "shell/AudioRequests.h"

#include "audio/AudioPaths.h"

namespace qv::shell {

namespace {

using namespace platform;

void LogPath(core::Engine& engine, const char* what, const std::string& path) {
  if (engine.platform.log.Enabled()) {
    engine.Log(std::string(what) + engine.Utf8(engine.GamePart(path)));
  }
}

void LogLine(core::Engine& engine, const std::string& line) {
  if (engine.platform.log.Enabled()) engine.Log(line);
}

void RestartMusic(core::Engine& engine) {
  if (engine.musicPlayer.Playing()) engine.musicPlayer.Stop();
  LogPath(engine, "music play ", engine.musicPlayer.filePath);
  engine.musicPlayer.Play(engine.platform.window);
}

void OnStreamDone(core::Engine& engine, uint32_t handle) {
  // A notice from a stream that was stopped meanwhile names a handle neither player holds.
  if (handle == 0) return;
  if (handle == engine.musicPlayer.Device()) {
    engine.musicPlayer.Stop();
    LogLine(engine, "music end");
  } else if (handle == engine.voicePlayer.Device()) {
    engine.voicePlayer.Stop();
    engine.voicePlaying = 0;
    LogLine(engine, "voice end");
  }
}

// Ripped CD tracks play as looping music, and the music path names the track's file so that a
// saved game records it like any other music.
void PlayCdTrack(core::Engine& engine, int32_t track) {
  if (!engine.cdRipped) return;
  LogLine(engine, "cd play " + std::to_string(track));
  std::optional<std::string> path = audio::CdTrackPath(engine, track);
  engine.musicPlayer.Stop();
  if (!path) {
    engine.musicPlayer.filePath.clear();
    return;
  }
  engine.musicPlayer.filePath = *path;
  engine.musicPlayer.Play(engine.platform.window);
}

void StopCdTrack(core::Engine& engine) {
  if (!engine.cdRipped) return;
  LogLine(engine, "cd stop");
  engine.musicPlayer.Stop();
  engine.musicPlayer.filePath.clear();
}

}  // namespace

bool IsAudioRequest(uint32_t id) {
  switch (id) {
    case MSG_STREAM_DONE:
    case MSG_CD_PLAY:
    case MSG_CD_STOP:
    case MSG_VOICE_PLAY:
    case MSG_VOICE_STOP:
    case MSG_WAVE_MUSIC_PLAY:
    case MSG_WAVE_MUSIC_STOP:
    case MSG_MUSIC_RESTART:
    case MSG_MUSIC_STOP:
      return true;
    default:
      return false;
  }
}

int32_t HandleAudioRequest(core::Engine& engine, const Message& message) {
  switch (message.id) {
    case MSG_STREAM_DONE:
      OnStreamDone(engine, message.wParam);
      return 0;
    case MSG_CD_PLAY:
      PlayCdTrack(engine, static_cast<int32_t>(message.wParam));
      return 0;
    case MSG_CD_STOP:
      StopCdTrack(engine);
      return 0;
    case MSG_VOICE_PLAY:
      LogPath(engine, "voice play ", engine.voicePlayer.filePath);
      engine.voicePlayer.Play(engine.platform.window);
      // Even a failed start counts as playing until the next click or stop request.
      engine.voicePlaying = 1;
      return 0;
    case MSG_VOICE_STOP:
      if (engine.voicePlaying == 1) {
        engine.voicePlayer.Stop();
        LogLine(engine, "voice stop");
      }
      engine.voicePlaying = 0;
      return 0;
    case MSG_MUSIC_RESTART:
      RestartMusic(engine);
      return 0;
    case MSG_MUSIC_STOP:
      engine.musicPlayer.Stop();
      LogLine(engine, "music stop");
      return 0;
    default:
      // Wave-file music is bookkeeping only: its requests have no handler.
      return 0;
  }
}

}  // namespace qv::shell
