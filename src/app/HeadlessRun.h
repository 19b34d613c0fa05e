// A whole headless run of a game: events in, events.log, shots and states out.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/headless/EngineProbe.h"
#include "shell/Startup.h"

namespace qv::script {
class Engine;
}

namespace qv::app {

struct HeadlessRunOptions {
  std::string gameDir;                // an existing folder
  std::string outDir = ".";           // created when missing
  std::string eventsText;             // the events file's contents
  std::string eventsName = "events";  // how messages name the events
  shell::StartupOptions startup;      // --window / --fullscreen, --original, --text-hook
  std::string lockDir;                // where instance locks live; empty: the default place
  // Called after each event on the runner thread, which is the window thread, with the
  // interpreter waiting: checks that look into the engine between events.
  std::function<void(script::Engine&, const platform::headless::EventReport&)> afterEvent;
};

// Runs the game on the calling thread and returns the program's exit code, or 2 for bad events
// (with the reason on stderr) and 1 when the output cannot be written.
int RunHeadless(const HeadlessRunOptions& options);

}  // namespace qv::app
