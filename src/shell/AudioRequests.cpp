// The sound requests of the window procedure (see AudioRequests.h).
#include "shell/AudioRequests.h"

#include "audio/AudioPaths.h"

namespace qv::shell {

namespace {

using namespace platform;

void LogPath(script::Engine& engine, const char* what, const std::string& path) {
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log(std::string(what) + engine.services.Utf8(engine.services.GamePart(path)));
  }
}

void LogLine(script::Engine& engine, const std::string& line) {
  if (engine.services.platform.log.Enabled()) engine.services.Log(line);
}

void RestartMusic(script::Engine& engine) {
  if (engine.audio.musicPlayer.Playing()) engine.audio.musicPlayer.Stop();
  LogPath(engine, "music play ", engine.audio.musicPlayer.filePath);
  engine.audio.musicPlayer.Play(engine.services.platform.window);
}

void OnStreamDone(script::Engine& engine, uint32_t handle) {
  // A notice from a stream that was stopped meanwhile names a handle neither player holds.
  if (handle == 0) return;
  if (handle == engine.audio.musicPlayer.Device()) {
    engine.audio.musicPlayer.Stop();
    LogLine(engine, "music end");
  } else if (handle == engine.audio.voicePlayer.Device()) {
    engine.audio.voicePlayer.Stop();
    engine.audio.voicePlaying = 0;
    LogLine(engine, "voice end");
  }
}

// Ripped CD tracks play as looping music, and the music path names the track's file so that a
// saved game records it like any other music.
void PlayCdTrack(script::Engine& engine, int32_t track) {
  if (!engine.audio.cdRipped) return;
  LogLine(engine, "cd play " + std::to_string(track));
  std::optional<std::string> path = audio::CdTrackPath(engine.audio, track);
  engine.audio.musicPlayer.Stop();
  if (!path) {
    engine.audio.musicPlayer.filePath.clear();
    return;
  }
  engine.audio.musicPlayer.filePath = *path;
  engine.audio.musicPlayer.Play(engine.services.platform.window);
}

void StopCdTrack(script::Engine& engine) {
  if (!engine.audio.cdRipped) return;
  LogLine(engine, "cd stop");
  engine.audio.musicPlayer.Stop();
  engine.audio.musicPlayer.filePath.clear();
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

int32_t HandleAudioRequest(script::Engine& engine, const Message& message) {
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
      LogPath(engine, "voice play ", engine.audio.voicePlayer.filePath);
      engine.audio.voicePlayer.Play(engine.services.platform.window);
      // Even a failed start counts as playing until the next click or stop request.
      engine.audio.voicePlaying = 1;
      return 0;
    case MSG_VOICE_STOP:
      if (engine.audio.voicePlaying == 1) {
        engine.audio.voicePlayer.Stop();
        LogLine(engine, "voice stop");
      }
      engine.audio.voicePlaying = 0;
      return 0;
    case MSG_MUSIC_RESTART:
      RestartMusic(engine);
      return 0;
    case MSG_MUSIC_STOP:
      engine.audio.musicPlayer.Stop();
      LogLine(engine, "music stop");
      return 0;
    default:
      // Wave-file music is bookkeeping only: its requests have no handler.
      return 0;
  }
}

}  // namespace qv::shell
