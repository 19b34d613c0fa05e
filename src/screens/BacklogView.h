// The backlog over the game: a page of the text history drawn as the message window showed it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Surface.h"
#include "core/TextHistory.h"
#include "graphics/Presentation.h"

namespace qv::screens {

// Window thread only.
struct BacklogView {
  bool open = false;
  // The history as it was when the backlog opened, oldest first; the interpreter is halted
  // meanwhile, so it cannot grow.
  std::vector<core::HistoryPage> pages;
  int page = 1;  // counted back from the newest, which is 1
  // What the window showed and whether the wait cursor was on, given back when it closes.
  core::Surface savedScreen;
  int32_t cursorWasOn = 0;
};

// Draws `backlog.page` over the whole screen and shows it: the message window's picture with the
// page's lines typed at once where the window typed them, a mark before each voiced line and the
// page's number of the count in the window's top-right corner.
void DrawBacklogPage(graphics::Presentation& view, const BacklogView& backlog);

// The line of the page shown whose rows (or voice mark) hold (x, y); null for none.
const core::HistoryLine* BacklogLineAt(const BacklogView& backlog, int x, int y);

}  // namespace qv::screens
