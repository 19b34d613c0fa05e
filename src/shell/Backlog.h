// The backlog: the text history's pages shown over a game that waits for the player.
#pragma once

#include <cstdint>
#include <string>

#include "script/Engine.h"

namespace qv::shell {

// Window thread, all of them.
bool BacklogOpen(const script::Engine& engine);
// Shows the newest page: 1 when it opened, 0 when it cannot now (the additions off, no history,
// the interpreter not halted for a click or for a pick from a list that is up, a save or load
// screen open, or the backlog open already).
int OpenBacklog(script::Engine& engine);
// `pages` older (positive) or newer (negative), stopping at the oldest; newer than the newest
// closes the backlog.
void TurnBacklog(script::Engine& engine, int pages);
// Puts back the screen and the wait cursor as they were when the backlog opened.
void CloseBacklog(script::Engine& engine);
// A click at `position` on a voiced line of the page shown plays its voice again.
void BacklogClick(script::Engine& engine, uint32_t position);
// The newest page's lines as UTF-8, joined by line feeds; empty when there is none.
std::string CurrentPageText(script::Engine& engine);

}  // namespace qv::shell
