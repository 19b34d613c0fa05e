// qvplay: plays a game from its folder, in a window or headless.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/GameFolderCheck.h"
#include "app/HeadlessRun.h"
#include "platform/common/TableCp932.h"
#include "platform/posix/PosixFiles.h"
#ifdef QV_HAVE_SDL
#include "app/WindowedPlay.h"
#include "platform/cdio/CdioDrives.h"
#endif

namespace {

using namespace qv;

int RunWindowed(const app::CommandLine& options, const std::string& gameDir) {
#ifdef QV_HAVE_SDL
  platform::sdl::SdlOptions sdlOptions;
  sdlOptions.scale = options.scale;
  sdlOptions.comforts = !options.original;
  std::string error;
  auto backend = platform::sdl::SdlBackend::Create(sdlOptions, error);
  if (!backend) {
    std::fprintf(stderr, "qvplay: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files(gameDir, cp932);
  platform::cdio::CdioDrives drives;
  return app::PlayInWindow(*backend, files, cp932, drives, app::StartupFrom(options));
#else
  (void)options;
  (void)gameDir;
  std::fprintf(stderr, "qvplay: this build has no window support; use --headless\n");
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  app::CommandLine options;
  std::string error;
  if (!app::ParseCommandLine(args, options, error)) {
    std::fprintf(stderr, "qvplay: %s (see qvplay --help)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(app::UsageText(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("qvplay %s\n", QV_VERSION);
    return 0;
  }
  std::string gameDir = platform::posix::AbsoluteDirectory(options.gameDir);
  if (gameDir.empty()) {
    std::fprintf(stderr, "qvplay: %s is not a folder\n", options.gameDir.c_str());
    return 2;
  }
  if (!options.gameDirGiven && !app::HoldsGame(gameDir)) {
    std::fputs(app::kNoGameText, stderr);
    return 2;
  }
  if (!options.headless) return RunWindowed(options, gameDir);
  app::HeadlessRunOptions run;
  run.gameDir = gameDir;
  run.outDir = options.outDir.empty() ? "." : options.outDir;
  run.startup = app::StartupFrom(options);
  if (!options.eventsFile.empty()) {
    std::ifstream in(options.eventsFile, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "qvplay: cannot read the events file %s\n", options.eventsFile.c_str());
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    run.eventsText = text.str();
    run.eventsName = options.eventsFile;
  }
  return app::RunHeadless(run);
}
