// Saving and loading games (see SavedGames.h).
#include "script/SavedGames.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "audio/AudioRequests.h"
#include "core/SavedGameFile.h"
#include "core/SettingsFile.h"
#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "graphics/PictureLoading.h"
#include "script/Commands.h"
#include "script/HistoryFile.h"
#include "script/ResumePoint.h"

namespace qv::script {

namespace {

using core::GameState;

// A page that jumps back on itself would replay for ever; a real page halts a few dozen times.
constexpr int kMaxReplayHalts = 100000;

void LogResult(script::Engine& engine, const char* what, int slot, const char* result) {
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log(std::string(what) + " " + std::to_string(slot) + " -> " + result);
  }
}

// The music path is the base directory of the machine that saved plus the script's argument;
// a game folder moved since, or saved elsewhere, keeps the argument, so the tail that names a
// file of this game folder is taken.
std::string LocateSavedMusic(script::Engine& engine, const std::string& saved) {
  const std::string& base = engine.services.baseDirectory;
  if (saved.starts_with(base)) return saved;
  for (size_t at = 0; at < saved.size();) {
    const size_t separator = saved.find_first_of("\\/", at);
    if (separator == std::string::npos) break;
    at = separator + 1;
    const std::string candidate = base + saved.substr(at);
    if (at < saved.size() && engine.services.platform.files.Exists(candidate)) return candidate;
  }
  return saved;
}

void RestoreMusic(script::Engine& engine) {
  const std::string saved(
      engine.script.state.Text(GameState::kMusicFileNameOffset, GameState::kPathSize));
  if (saved.empty()) {
    audio::RequestAudio(engine.audio, {audio::AudioRequest::Kind::MusicStop});
  } else {
    audio::RequestAudio(engine.audio,
                        {audio::AudioRequest::Kind::MusicPlay, LocateSavedMusic(engine, saved)});
  }
}

// The file lookup is blind to case, so "ROOM.BMP" names a picture as well as "room.bmp" does.
bool NamesPicture(std::string_view name) {
  for (size_t at = 0; at + 4 <= name.size(); ++at) {
    std::string_view four = name.substr(at, 4);
    if (four[0] == '.' && (four[1] | 0x20) == 'b' && (four[2] | 0x20) == 'm' &&
        (four[3] | 0x20) == 'p')
      return true;
  }
  return false;
}

void RestoreScene(script::Engine& engine) {
  const std::string background(
      engine.script.state.Text(GameState::kBackgroundNameOffset, GameState::kPathSize));
  const bool fill = core::ContainsBytes(background, "FILL_");
  if (NamesPicture(background) || fill) {
    graphics::LoadWaitCursor(engine.view);
    graphics::LoadButtonParts(engine.view);
    engine.view.messageWindowOpen = 1;
    if (fill) {
      RestoreFill(engine);
    } else {
      graphics::LoadBackground(engine.view, engine.services.baseDirectory + background);
    }
  } else {
    // Nothing rebuilds the scene (a game without pictures, or one saved before its first), yet
    // the load screen's looks fill the scene surfaces, and the page would be typed over them:
    // the scene is black again, as before any picture.
    auto& g = engine.view;
    auto clear = [](core::Surface& surface) {
      std::memset(surface.Data(), 0, surface.SizeBytes());
    };
    clear(g.workPixels);
    g.screen.Locked([&](core::Surface&) {
      clear(g.sceneSurface);
      clear(g.sceneCopySurface);
      clear(g.pageSurface);
    });
    g.screen.PutAll(g.sceneSurface);
    g.screen.ShowScreen();
  }
  const auto bytes = engine.script.state.Bytes();
  for (size_t slot = 0; slot < 2; ++slot) {
    if (bytes[GameState::kSpriteActiveOffset + slot] != 1) continue;
    const int x = engine.script.state.SlotValue(GameState::kSpriteXOffset + 4 * slot);
    const std::string file(engine.script.state.Text(
        GameState::kSpriteFilesOffset + GameState::kPathSize * slot, GameState::kPathSize));
    graphics::DrawSprite(engine.view, x, file);
  }
}

// Lets the interpreter run the page's lines up to the saved one, halting at each wait code and let
// go at once. What it asks of this thread meanwhile (music, a voice purge, a box) is handled
// here, so neither waits for the other; a close during it ends the replay.
void ReplayPage(script::Engine& engine, uint32_t saved) {
  auto& clock = engine.services.platform.clock;
  // The page halts at most once a wait code (or list), each at least two bytes of it: a replay
  // that halts more often has left the page by a jump back, which only a save from another
  // script can ask for, and would go round until the bound. It stops there instead, and the game
  // goes on from where it got.
  const int64_t span = static_cast<int32_t>(saved - engine.script.position.load());
  const int64_t pageHalts = std::max<int64_t>(span, 0) / 2 + 2;
  const int maxHalts = static_cast<int>(std::min<int64_t>(kMaxReplayHalts, pageHalts));
  for (int halts = 0; halts < maxHalts && !engine.services.closing; ++halts) {
    // Compared across the wrap: a page resumed from the script's first line starts at -2.
    if (static_cast<int32_t>(engine.script.position.load() - saved) >= 0) return;
    engine.script.gate.Resume();
    while (!engine.services.closing && !engine.script.gate.AwaitHalt(clock.nowMs() + 1)) {
      engine.services.platform.window.DispatchPendingRequests();
    }
  }
}

}  // namespace

int SaveGame(script::Engine& engine, int slot) {
  if (!core::EnsureSaveFolder(engine.services, true)) {
    LogResult(engine, "save", slot, "failed");
    return 0;
  }
  const std::string path = core::SlotFilePath(engine.services, slot);
  engine.script.state.SetPosition(engine.script.position);
  engine.script.state.SetText(GameState::kMusicFileNameOffset, GameState::kPathSize,
                              engine.audio.musicPlayer.filePath);
  auto& files = engine.services.platform.files;
  if (files.Exists(path) &&
      core::ShowMessage(engine.services, engine.services.Caption(), texts::kOverwriteQuestion,
                        platform::BoxButtons::OkCancel,
                        platform::BoxIcon::Warning) != platform::BoxAnswer::Ok) {
    LogResult(engine, "save", slot, "kept");
    return 1;
  }
  const auto bytes = engine.script.state.Bytes();
  // Written beside the slot and renamed over it: a crash leaves the old save or the new one.
  if (!files.ReplaceAtomically(path, std::vector<uint8_t>(bytes.begin(), bytes.end()))) {
    core::ShowWarning(engine.services, core::texts::kSaveFailed);
    LogResult(engine, "save", slot, "failed");
    return 0;
  }
  LogResult(engine, "save", slot, "written");
  WriteHistoryFile(engine, slot);
  return 1;
}

int LoadGame(script::Engine& engine, int slot) {
  if (!core::EnsureSaveFolder(engine.services, false)) {
    LogResult(engine, "load", slot, "failed");
    return 0;
  }
  auto bytes = engine.services.platform.files.ReadPrefix(core::SlotFilePath(engine.services, slot),
                                                         GameState::kSize + 1);
  auto script = engine.script.Text();
  // Checked before anything of the running game is touched: a bad file costs the player nothing.
  if (!bytes || !core::CheckSavedGame(*bytes, script.get()).empty()) {
    core::ShowWarning(engine.services, texts::kLoadFailed);
    LogResult(engine, "load", slot, "failed");
    return 0;
  }
  engine.input.restoringGame = 1;
  // The backlog starts again from the loaded page (and the history kept beside the slot).
  if (engine.services.comforts.enabled) engine.history.Clear();
  engine.script.state.Clear();
  std::copy(bytes->begin(), bytes->end(), engine.script.state.Bytes().begin());
  engine.view.waitCursorOn = 0;
  engine.input.screenMode = core::ScreenMode::Game;
  RestoreMusic(engine);
  engine.view.effectNumber = 3;
  RestoreScene(engine);
  engine.view.ResetTextPosition();
  const int resumed = FindResumePoint(engine);
  // A close during the replay has released everything: nothing is left to go on with.
  if (engine.services.closing) return 1;
  // The replayed lines ran their commands again: a point added or a flag set on the page would
  // count twice. The record as saved already holds their effect.
  std::copy(bytes->begin(), bytes->end(), engine.script.state.Bytes().begin());
  engine.input.restoringGame = 0;
  ReadHistoryFile(engine, slot);
  LogResult(engine, "load", slot, "ok");
  if (resumed != 2) engine.script.gate.Resume();
  return 1;
}

int RestoreFill(script::Engine& engine) {
  static constexpr std::pair<std::string_view, uint32_t> kFills[] = {{"FILL_BLACK", 0x000000},
                                                                     {"FILL_WHITE", 0xFFFFFF},
                                                                     {"FILL_RED", 0x0000FF},
                                                                     {"FILL_GREEN", 0x00FF00},
                                                                     {"FILL_BLUE", 0xFF0000}};
  const std::string_view name =
      engine.script.state.Text(GameState::kBackgroundNameOffset, GameState::kPathSize);
  for (const auto& [word, colour] : kFills) {
    if (core::ContainsBytes(name, word)) graphics::FillScene(engine.view, colour);
  }
  return 1;
}

int FindResumePoint(script::Engine& engine) {
  const uint32_t saved = engine.script.state.Position();
  auto script = engine.script.Text();
  if (!script) return 0;
  const ResumeLine resume = FindResumeLine(*script, saved);
  if (resume.selword) engine.view.messageWindowShown = 1;
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log("resume " + std::to_string(resume.line) +
                        (resume.replay ? " replay" : " direct"));
  }
  // The halted interpreter adds 2 before its next line; one halted in a choice steps back 2
  // first.
  const uint32_t stepBack = engine.script.gate.Halted() == core::HaltReason::Choice ? 0 : 2;
  engine.script.position = resume.line - stepBack;
  if (!resume.replay) return 1;
  // Text is drawn at once while restoringGame is set (see ShowTextLine). Auto mode does not halt
  // at the wait codes and would run past the saved line; it goes on once the game is loaded.
  const core::AdvanceMode mode = engine.input.advanceMode;
  engine.input.advanceMode = core::AdvanceMode::Normal;
  ReplayPage(engine, saved);
  engine.input.advanceMode = mode;
  // A list the page put up is back as it was saved, its interpreter waiting for the pick.
  if (engine.script.gate.Halted() == core::HaltReason::Choice) return 2;
  // Halted at a wait code, the position on its line's end: the step of 2 that follows the halt
  // must land on that line's first byte, so that the wait runs again, however long the line is
  // ("$C ;note").
  uint32_t start = engine.script.position;
  while (start > 0 && start <= script->size && script->bytes[start - 1] != '\n') --start;
  engine.script.position = start - 2;
  return 1;
}

int LoadRecordedName(script::Engine& engine) {
  auto setName = [&engine](std::string_view name) {
    engine.script.state.SetText(GameState::kPlayerNameOffset, GameState::kPlayerNameSize, name);
  };
  std::optional<std::vector<uint8_t>> bytes;
  if (core::EnsureSaveFolder(engine.services, false)) {
    bytes = engine.services.platform.files.ReadPrefix(core::SlotFilePath(engine.services, 1),
                                                      GameState::kSize);
  }
  if (!bytes) {
    setName(core::kDefaultPlayerNameSjis);
    return 0;
  }
  GameState scratch;
  std::copy(bytes->begin(), bytes->end(), scratch.Bytes().begin());
  const std::string_view name =
      scratch.Text(GameState::kPlayerNameOffset, GameState::kPlayerNameSize);
  // A name that fills its field has no terminator: it is cut at a whole character.
  setName(core::CutAtCharBoundary(name, GameState::kPlayerNameSize - 1));
  return 1;
}

void RecNameLoad(script::Engine& engine, std::string_view) {
  LoadRecordedName(engine);
}

}  // namespace qv::script
