// A text line's read mark, backlog entry and text hook (see TextLineHooks.h).
#include "script/TextLineHooks.h"

#include <cstdio>
#include <string>

#include "core/AdvanceMode.h"
#include "screens/TextOutput.h"

namespace qv::script {

namespace {

void StopSkipAtUnreadLine(script::Engine& engine, uint32_t lineEnd) {
  auto& services = engine.services;
  if (engine.input.advanceMode != core::AdvanceMode::Skip || !services.comforts.skipReadOnly ||
      engine.readMarks.IsRead(lineEnd))
    return;
  core::SetSkipMode(engine.input, services.env, engine.script.gate, false);
  if (services.platform.log.Enabled()) services.Log("skip stop unread");
}

// Tools reading along (translators, dictionaries, screen readers) take the line as UTF-8.
void HookText(script::Engine& engine, std::string_view text) {
  auto& services = engine.services;
  const std::string utf8 = services.Utf8(text);
  if (services.platform.log.Enabled()) services.Log("texthook " + utf8);
  if (services.comforts.textHook == core::TextHook::Stdout) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return;
  }
  // The clipboard is the desktop's, which only the window thread talks to.
  auto& window = services.platform.window;
  if (window.IsWindowThread()) {
    window.SetClipboardText(utf8);
  } else {
    window.Call([&] {
      window.SetClipboardText(utf8);
      return 0;
    });
  }
}

}  // namespace

void TrackTextLine(script::Engine& engine, std::string_view text) {
  // A loaded page's lines were read when it was saved, and its replay is no reading.
  const bool replay = engine.input.restoringGame == 1;
  if (engine.services.comforts.enabled) {
    const uint32_t lineEnd = engine.script.position.load();
    if (!replay) StopSkipAtUnreadLine(engine, lineEnd);
    engine.readMarks.MarkRead(lineEnd);
    // The backlog keeps the replayed page too: a slot without its history starts with it.
    engine.history.AddLine(screens::NewPageDue(engine.view), text);
  }
  if (engine.services.comforts.textHook != core::TextHook::Off && !replay) HookText(engine, text);
}

}  // namespace qv::script
