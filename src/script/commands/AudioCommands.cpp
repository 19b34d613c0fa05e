// The sound commands: music, voice lines, CD tracks, wave music and sound effects.
#include <optional>

#include "audio/AudioPaths.h"
#include "audio/SoundEffects.h"
#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "script/Commands.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

using core::GameState;

void Send(script::Engine& engine, uint32_t id, uint32_t wParam = 0) {
  platform::Message message;
  message.id = id;
  message.wParam = wParam;
  core::SendToWindow(engine.services, message);
}

void SetMusicField(script::Engine& engine, std::string_view text) {
  engine.script.state.SetText(GameState::kMusicFileNameOffset, GameState::kPathSize,
                              text.substr(0, GameState::kPathSize - 1));
}

}  // namespace

void OggPlay(script::Engine& engine, std::string_view line) {
  if (engine.services.config.bgmFromCd != 0) return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  std::string& musicPath = engine.audio.musicPlayer.filePath;
  // The music already playing goes on, and so does any whose path contains the argument.
  if (core::ContainsBytes(musicPath, *argument)) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  musicPath = *path;
  // Only the script's own words can ask for a stop, not the folder the game was installed in.
  if (core::ContainsBytes(*argument, "STOP")) {
    musicPath.clear();
    Send(engine, platform::MSG_MUSIC_STOP);
  } else {
    Send(engine, platform::MSG_MUSIC_RESTART);
  }
}

void Talk(script::Engine& engine, std::string_view line) {
  if (core::ContainsBytes(line, "purge")) {
    Send(engine, platform::MSG_VOICE_STOP);
    return;
  }
  if (engine.input.restoringGame == 1 || engine.services.env.seVolume == 0 ||
      engine.input.advanceMode == core::AdvanceMode::Skip)
    return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  engine.audio.voicePlayer.filePath = *path;
  // A second line while one plays only cuts the first.
  Send(engine,
       engine.audio.voicePlaying == 1 ? platform::MSG_VOICE_STOP : platform::MSG_VOICE_PLAY);
}

void Cdda(script::Engine& engine, std::string_view line) {
  if (!engine.audio.cdFound || engine.services.config.bgmFromCd != 1) return;
  if (core::ContainsBytes(line, "stop")) {
    engine.audio.cdTrack = 0;
    Send(engine, platform::MSG_CD_STOP);
    SetMusicField(engine, {});
    return;
  }
  if (engine.input.restoringGame == 1) return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  const int32_t track = core::ReadNumber(*argument);
  // Ripped tracks really play, so the first track asked for must start even though it is the
  // CD player's initial track number.
  std::optional<std::string> ripped;
  if (engine.audio.cdRipped) ripped = audio::CdTrackPath(engine.audio, track);
  const bool notPlaying = ripped && engine.audio.musicPlayer.filePath != *ripped;
  if (track != engine.audio.cdTrack || notPlaying) {
    engine.audio.cdTrack = track;
    Send(engine, platform::MSG_CD_PLAY, static_cast<uint32_t>(track));
  }
  // A ripped track is music like any other: the saved game names its file.
  SetMusicField(engine, engine.audio.cdRipped ? std::string_view(engine.audio.musicPlayer.filePath)
                                              : *argument);
}

void BgmWave(script::Engine& engine, std::string_view line) {
  if (engine.services.config.bgmFromCd != 0) return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  std::string& wavePath = engine.audio.waveMusicFileName;
  if (core::ContainsBytes(wavePath, *argument)) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  wavePath = *path;
  if (core::ContainsBytes(*argument, "STOP")) {
    wavePath.clear();
    Send(engine, platform::MSG_WAVE_MUSIC_STOP);
  } else {
    Send(engine, platform::MSG_WAVE_MUSIC_PLAY);
  }
}

void Wave(script::Engine& engine, std::string_view line) {
  if (engine.input.restoringGame == 1) return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  // The hover sound composes its path on the window thread; a path of its own keeps the two
  // threads from writing one string.
  audio::PlaySoundEffect(engine.services, *path);
}

}  // namespace qv::script
