// A whole headless run of a game: events in, events.log, shots and states out.
#pragma once

#include <optional>
#include <string>

namespace qv::app {

struct HeadlessRunOptions {
  std::string gameDir;                // an existing folder
  std::string outDir = ".";           // created when missing
  std::string eventsText;             // the events file's contents
  std::string eventsName = "events";  // how messages name the events
  std::optional<bool> windowed;       // --window / --fullscreen
  std::string lockDir;                // where instance locks live; empty: the default place
};

// Runs the game on the calling thread and returns the program's exit code, or 2 for bad events
// (with the reason on stderr) and 1 when the output cannot be written.
int RunHeadless(const HeadlessRunOptions& options);

}  // namespace qv::app
