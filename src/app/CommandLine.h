// qvplay's command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Startup.h"

namespace qv::app {

struct CommandLine {
  bool help = false;
  bool version = false;
  bool headless = false;
  std::string eventsFile;
  std::string outDir;
  std::optional<bool> windowed;  // --window / --fullscreen
  int scale = 0;                 // --scale N; 0: the largest whole factor the desktop holds
  std::string gameDir = ".";
  bool gameDirGiven = false;
  bool original = false;                          // --original
  core::TextHook textHook = core::TextHook::Off;  // --text-hook stdout|clipboard
};

// What the game's start takes from the command line.
shell::StartupOptions StartupFrom(const CommandLine& options);

// Parses argv[1..]. On a usage error returns false with a one-line message in `error`.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

const char* UsageText();

}  // namespace qv::app
