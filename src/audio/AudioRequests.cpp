// The players' requests (see AudioRequests.h).
#include "audio/AudioRequests.h"

#include "audio/AudioPaths.h"

namespace qv::audio {

namespace {

void LogPath(AudioState& audio, const char* what, const std::string& path) {
  if (audio.services.platform.log.Enabled()) {
    audio.services.Log(std::string(what) + audio.services.Utf8(audio.services.GamePart(path)));
  }
}

void LogLine(AudioState& audio, const std::string& line) {
  if (audio.services.platform.log.Enabled()) audio.services.Log(line);
}

void PlayMusic(AudioState& audio, const std::string& path) {
  if (audio.musicPlayer.Playing()) audio.musicPlayer.Stop();
  // Kept even when the start fails: the script's next ask for the same music is no new one.
  audio.musicPlayer.filePath = path;
  LogPath(audio, "music play ", path);
  audio.musicPlayer.Play(audio.services.platform.window);
}

// Ripped CD tracks play as looping music, and the music path names the track's file so that a
// saved game records it like any other music.
void PlayCdTrack(AudioState& audio, int32_t track) {
  if (!audio.cdRipped) return;
  LogLine(audio, "cd play " + std::to_string(track));
  std::optional<std::string> path = CdTrackPath(audio, track);
  audio.musicPlayer.Stop();
  if (!path) {
    audio.musicPlayer.filePath.clear();
    return;
  }
  audio.musicPlayer.filePath = *path;
  audio.musicPlayer.Play(audio.services.platform.window);
}

void StopCdTrack(AudioState& audio) {
  if (!audio.cdRipped) return;
  LogLine(audio, "cd stop");
  audio.musicPlayer.Stop();
  audio.musicPlayer.filePath.clear();
}

void Serve(AudioState& audio, const AudioRequest& request) {
  using Kind = AudioRequest::Kind;
  switch (request.kind) {
    case Kind::MusicPlay:
      PlayMusic(audio, request.path);
      return;
    case Kind::MusicStop:
      audio.musicPlayer.Stop();
      audio.musicPlayer.filePath.clear();
      LogLine(audio, "music stop");
      return;
    case Kind::VoicePlay:
      audio.voicePlayer.filePath = request.path;
      LogPath(audio, "voice play ", request.path);
      audio.voicePlayer.Play(audio.services.platform.window);
      // Even a failed start counts as playing until the next click or stop request.
      audio.voicePlaying = 1;
      return;
    case Kind::VoiceStop:
      if (audio.voicePlaying == 1) {
        audio.voicePlayer.Stop();
        LogLine(audio, "voice stop");
      }
      audio.voicePlaying = 0;
      return;
    case Kind::CdPlay:
      PlayCdTrack(audio, request.track);
      return;
    case Kind::CdStop:
      StopCdTrack(audio);
      return;
  }
}

}  // namespace

void RequestAudio(AudioState& audio, const AudioRequest& request) {
  auto& window = audio.services.platform.window;
  if (window.IsWindowThread()) {
    Serve(audio, request);
    return;
  }
  window.Call([&] {
    Serve(audio, request);
    return 0;
  });
}

void OnStreamDone(AudioState& audio, uint32_t handle) {
  // A notice from a stream that was stopped meanwhile names a handle neither player holds.
  if (handle == 0) return;
  if (handle == audio.musicPlayer.Device()) {
    audio.musicPlayer.Stop();
    LogLine(audio, "music end");
  } else if (handle == audio.voicePlayer.Device()) {
    audio.voicePlayer.Stop();
    audio.voicePlaying = 0;
    LogLine(audio, "voice end");
  }
}

}  // namespace qv::audio
