// Text lines reach the message window: a line that starts a page puts the empty message window
// (the page) on the screen first. Glyphs are drawn by the text output, which builds on this.
#include "script/TextSink.h"

#include <mutex>

#include "graphics/WindowPicture.h"

namespace qv::script {

int ShowTextLine(core::Engine& engine, std::string_view line) {
  (void)line;
  auto& g = engine.graphics;
  const bool newPage = engine.textPositionY >= core::Engine::kTextArea.bottom ||
                       engine.newPageRequested != 0 || engine.messageWindowActive == 0;
  if (newPage && !g.screenSurface.Empty()) {
    {
      std::lock_guard lock(g.windowMutex);  // the window thread repaints from the screen
      core::CopyAll(g.screenSurface, g.pageSurface);
    }
    engine.newPageRequested = 0;
    engine.textPositionY = core::Engine::kTextArea.top;
    engine.messageWindowActive = 1;
    engine.messageWindowShown = 1;
    graphics::ShowSurface(engine, g.screenSurface);
  }
  return 1;
}

}  // namespace qv::script
