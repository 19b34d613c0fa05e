// qvplay's command line (see CommandLine.h).
#include "app/CommandLine.h"

namespace qv::app {

const char* UsageText() {
  return "Usage: qvplay [options] [GAME_DIR]\n"
         "Plays the game in GAME_DIR (default: the current directory).\n"
         "\n"
         "Options:\n"
         "  --window          start in a window, whatever the saved setting says\n"
         "  --fullscreen      start full screen, whatever the saved setting says\n"
         "  --scale N         show the windowed picture N times its size (1-8; default: the\n"
         "                    largest that fits the desktop)\n"
         "  --original        play exactly as the original engine did: no keyboard focus, "
         "gamepad,\n"
         "                    wheel, backlog, read marks or settings file of this engine\n"
         "  --text-hook WHERE write each text line as it appears, in UTF-8, to WHERE: stdout\n"
         "                    (one line each) or clipboard\n"
         "  --headless        run without a window or sound on a virtual clock (for tests)\n"
         "  --events FILE     headless: the scripted input to play (default: none)\n"
         "  --out DIR         headless: where events.log, shots and states go (default: .)\n"
         "  --help            show this help\n"
         "  --version         show the version\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  bool gameDirSeen = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--version") {
      out.version = true;
    } else if (arg == "--headless") {
      out.headless = true;
    } else if (arg == "--window") {
      out.windowed = true;
    } else if (arg == "--fullscreen") {
      out.windowed = false;
    } else if (arg == "--original") {
      out.original = true;
    } else if (arg == "--text-hook") {
      std::string where;
      if (!value(where)) return false;
      if (where != "stdout" && where != "clipboard") {
        error = "--text-hook takes stdout or clipboard, not '" + where + "'";
        return false;
      }
      out.textHook = where == "stdout" ? core::TextHook::Stdout : core::TextHook::Clipboard;
    } else if (arg == "--events") {
      if (!value(out.eventsFile)) return false;
    } else if (arg == "--out") {
      if (!value(out.outDir)) return false;
    } else if (arg == "--scale") {
      std::string n;
      if (!value(n)) return false;
      if (n.size() != 1 || n[0] < '1' || n[0] > '8') {
        error = "--scale takes a whole number from 1 to 8, not '" + n + "'";
        return false;
      }
      out.scale = n[0] - '0';
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (gameDirSeen) {
      error = "more than one game folder given ('" + out.gameDir + "' and '" + arg + "')";
      return false;
    } else {
      out.gameDir = arg;
      gameDirSeen = true;
      out.gameDirGiven = true;
    }
  }
  if (!out.headless && (!out.eventsFile.empty() || !out.outDir.empty())) {
    error = "--events and --out need --headless";
    return false;
  }
  return true;
}

shell::StartupOptions StartupFrom(const CommandLine& options) {
  shell::StartupOptions startup;
  startup.windowed = options.windowed;
  startup.original = options.original;
  startup.textHook = options.textHook;
  return startup;
}

}  // namespace qv::app
