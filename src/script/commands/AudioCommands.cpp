// The sound commands: music, voice lines, CD tracks, wave music and sound effects.
#include <optional>
#include <utility>

#include "audio/AudioPaths.h"
#include "audio/AudioRequests.h"
#include "audio/SoundEffects.h"
#include "core/TextRules.h"
#include "script/Commands.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

using core::GameState;

void Request(script::Engine& engine, audio::AudioRequest::Kind kind, std::string path = {},
             int32_t track = 0) {
  audio::RequestAudio(engine.audio, {kind, std::move(path), track});
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
  // The music already playing goes on, and so does any whose path contains the argument.
  if (core::ContainsBytes(engine.audio.musicPlayer.filePath, *argument)) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  // Only the script's own words can ask for a stop, not the folder the game was installed in.
  if (core::ContainsBytes(*argument, "STOP")) {
    Request(engine, audio::AudioRequest::Kind::MusicStop);
  } else {
    Request(engine, audio::AudioRequest::Kind::MusicPlay, std::move(*path));
  }
}

void Talk(script::Engine& engine, std::string_view line) {
  if (core::ContainsBytes(line, "purge")) {
    Request(engine, audio::AudioRequest::Kind::VoiceStop);
    return;
  }
  // A replayed page's lines keep the voices they had for the backlog, though none plays now.
  if (engine.input.restoringGame == 1 && engine.services.comforts.enabled)
    engine.history.NoteVoice(ArgumentOf(line).value_or(std::string_view{}));
  if (engine.input.restoringGame == 1 || engine.services.env.seVolume == 0 ||
      engine.input.advanceMode == core::AdvanceMode::Skip)
    return;
  std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return;
  std::optional<std::string> path = core::ComposeGamePath(engine.services, *argument);
  if (!path) return;
  // A second line while one plays only cuts the first.
  if (engine.audio.voicePlaying == 1) {
    Request(engine, audio::AudioRequest::Kind::VoiceStop);
  } else {
    if (engine.services.comforts.enabled) engine.history.NoteVoice(*argument);
    Request(engine, audio::AudioRequest::Kind::VoicePlay, std::move(*path));
  }
}

void Cdda(script::Engine& engine, std::string_view line) {
  if (!engine.audio.cdFound || engine.services.config.bgmFromCd != 1) return;
  if (core::ContainsBytes(line, "stop")) {
    engine.audio.cdTrack = 0;
    Request(engine, audio::AudioRequest::Kind::CdStop);
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
    Request(engine, audio::AudioRequest::Kind::CdPlay, {}, track);
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
  // Wave music is bookkeeping only: nothing plays it, so no request goes out.
  if (core::ContainsBytes(*argument, "STOP")) wavePath.clear();
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
