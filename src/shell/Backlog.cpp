// Opening, turning and closing the backlog (see Backlog.h).
#include "shell/Backlog.h"

#include <algorithm>
#include <string>

#include "audio/AudioRequests.h"
#include "graphics/Screen.h"
#include "platform/Message.h"
#include "screens/BacklogView.h"

namespace qv::shell {

namespace {

void Log(script::Engine& engine, const std::string& line) {
  if (engine.services.platform.log.Enabled()) engine.services.Log(line);
}

// Over a wait for a click, or over a list that is up and waits for its pick: then nothing but
// the player changes the screen until the backlog closes.
bool WaitsForThePlayer(script::Engine& engine) {
  const core::HaltReason halted = engine.script.gate.Halted();
  if (halted == core::HaltReason::Choice)
    return engine.input.screenMode == core::ScreenMode::Choice;
  return (halted == core::HaltReason::Wait || halted == core::HaltReason::Stop) &&
         !core::IsSaveLoadScreen(engine.input.screenMode);
}

}  // namespace

bool BacklogOpen(const script::Engine& engine) {
  return engine.backlog.open;
}

int OpenBacklog(script::Engine& engine) {
  screens::BacklogView& backlog = engine.backlog;
  if (!engine.services.comforts.enabled || backlog.open || !WaitsForThePlayer(engine)) return 0;
  backlog.pages = engine.history.Pages();
  if (backlog.pages.empty()) return 0;
  auto& g = engine.view;
  g.screen.Locked([&](core::Surface& shown) { backlog.savedScreen = shown; });
  // The cursor's timer would blink it over the page; it comes back with the screen.
  backlog.cursorWasOn = g.waitCursorOn;
  g.waitCursorOn = 0;
  backlog.open = true;
  backlog.page = 1;
  Log(engine, "backlog open " + std::to_string(backlog.pages.size()));
  screens::DrawBacklogPage(g, backlog);
  return 1;
}

void TurnBacklog(script::Engine& engine, int pages) {
  screens::BacklogView& backlog = engine.backlog;
  if (!backlog.open || pages == 0) return;
  const int page = backlog.page + pages;
  if (page < 1) {
    CloseBacklog(engine);
    return;
  }
  const int oldest = static_cast<int>(backlog.pages.size());
  if (std::min(page, oldest) == backlog.page) return;
  backlog.page = std::min(page, oldest);
  Log(engine, "backlog page " + std::to_string(backlog.page));
  screens::DrawBacklogPage(engine.view, backlog);
}

void CloseBacklog(script::Engine& engine) {
  screens::BacklogView& backlog = engine.backlog;
  if (!backlog.open) return;
  auto& g = engine.view;
  g.screen.PutAll(backlog.savedScreen);
  g.screen.ShowScreen();
  g.waitCursorOn = backlog.cursorWasOn;
  backlog = {};
  Log(engine, "backlog close");
}

void BacklogClick(script::Engine& engine, uint32_t position) {
  if (!engine.backlog.open) return;
  const core::HistoryLine* line = screens::BacklogLineAt(engine.backlog, platform::PointX(position),
                                                         platform::PointY(position));
  if (!line || line->voice.empty()) return;
  Log(engine, "backlog voice " + engine.services.Utf8(line->voice));
  // As a `talk` would, but the voice playing stops first rather than instead.
  audio::RequestAudio(engine.audio, {audio::AudioRequest::Kind::VoiceStop});
  audio::RequestAudio(engine.audio, {audio::AudioRequest::Kind::VoicePlay,
                                     engine.services.baseDirectory + line->voice});
}

std::string CurrentPageText(script::Engine& engine) {
  if (!engine.services.comforts.enabled) return {};
  const std::vector<core::HistoryPage> pages = engine.history.Pages();
  std::string text;
  if (pages.empty()) return text;
  for (const core::HistoryLine& line : pages.back()) {
    if (!text.empty()) text += '\n';
    text += engine.services.Utf8(line.text);
  }
  return text;
}

}  // namespace qv::shell
