// qvplay in a browser: plays the game the page unpacked into memory, in the page's canvas, with
// the saves kept in the page's IndexedDB mount.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/WindowedPlay.h"
#include "core/SavedGameFile.h"
#include "platform/OpticalDrives.h"
#include "platform/common/TableCp932.h"
#include "platform/posix/PosixFiles.h"
#include "platform/sdl/SdlBackend.h"
#include "platform/web/PageBridge.h"
#include "platform/web/SyncedFiles.h"
#include "script/ScriptFile.h"

namespace {

using namespace qv;

// The game's IndexedDB mount, which the page sets up before main runs: $XDG_DATA_HOME, one per
// game, so that pages playing different games never copy over each other's saves.
std::string DataHome() {
  const char* home = std::getenv("XDG_DATA_HOME");
  return home && *home == '/' ? home : "/saves";
}

}  // namespace

// For the page's save import: empty when `bytes` are a saved game of the script of the game in
// `gameFolder`, else why not. Runs on the page's thread; the page frees the result.
extern "C" EMSCRIPTEN_KEEPALIVE char* qv_check_saved_game(const char* gameFolder,
                                                          const uint8_t* bytes, size_t size) {
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files(gameFolder, cp932,
                                    platform::web::BrowserSaveHost(DataHome(), gameFolder));
  // The script the engine would load.
  const std::string name = script::FirstWithExtension(files.ListGameFolder(), "qv");
  auto scriptBytes = name.empty() ? std::nullopt : files.ReadAll(files.BaseDirectory() + name);
  if (!scriptBytes) return strdup("the game has no script to check it against");
  const auto script = script::UnscrambleScript(std::move(*scriptBytes));
  return strdup(core::CheckSavedGame({bytes, size}, script.get()).c_str());
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  app::CommandLine options;
  std::string error;
  if (!app::ParseCommandLine(args, options, error)) {
    std::fprintf(stderr, "qvplay: %s\n", error.c_str());
    return 2;
  }
  const std::string gameDir = platform::posix::AbsoluteDirectory(options.gameDir);
  if (gameDir.empty()) {
    std::fprintf(stderr, "qvplay: %s is not a folder\n", options.gameDir.c_str());
    return 2;
  }
  platform::sdl::SdlOptions sdlOptions;
  sdlOptions.scale = options.scale;
  auto backend = platform::sdl::SdlBackend::Create(sdlOptions, error);
  if (!backend) {
    std::fprintf(stderr, "qvplay: cannot draw in the page: %s\n", error.c_str());
    return 1;
  }
  platform::TableCp932 cp932;
  platform::posix::PosixFiles diskFiles(gameDir, cp932,
                                        platform::web::BrowserSaveHost(DataHome(), gameDir));
  platform::web::SyncedFiles files(diskFiles, platform::web::RequestSaveSync,
                                   platform::web::AnnounceSaveFolder);
  // No drives: a game's ripped tracks (cd\trackNN.ogg in its folder) still play.
  platform::NoOpticalDrives drives;
  shell::StartupOptions startup;
  startup.windowed = true;
  return app::PlayInWindow(*backend, files, cp932, drives, startup);
}
