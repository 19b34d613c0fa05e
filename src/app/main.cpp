// qvplay: plays a game from its folder, in a window or headless.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "core/Engine.h"
#include "platform/EventLog.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/posix/FileInstanceLocks.h"
#include "platform/posix/IconvCp932.h"
#include "platform/posix/PosixFiles.h"
#include "shell/StateDump.h"
#include "shell/Startup.h"
#ifdef QV_HAVE_SDL
#include "platform/sdl/SdlBackend.h"
#endif

namespace {

using namespace qv;

class Probe final : public platform::headless::EngineProbe {
 public:
  explicit Probe(core::Engine& engine) : engine_(engine) {}
  bool HaltedForPlayer() override { return shell::HaltedForPlayer(engine_); }
  std::string StateJson() override { return shell::StateJson(engine_); }

 private:
  core::Engine& engine_;
};

bool MakeDirectories(const std::string& path) {
  std::string partial;
  std::stringstream parts(path);
  for (std::string part; std::getline(parts, part, '/');) {
    partial += part;
    if (!partial.empty()) mkdir(partial.c_str(), 0777);
    partial += '/';
  }
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int RunHeadless(const app::CommandLine& options, const std::string& gameDir) {
  std::vector<platform::headless::ScriptedEvent> events;
  if (!options.eventsFile.empty()) {
    std::ifstream in(options.eventsFile, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "qvplay: cannot read the events file %s\n", options.eventsFile.c_str());
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!platform::headless::ParseEventScript(text.str(), events, error)) {
      std::fprintf(stderr, "qvplay: %s:%s\n", options.eventsFile.c_str(), error.c_str());
      return 2;
    }
  }
  const std::string outDir = options.outDir.empty() ? "." : options.outDir;
  if (!MakeDirectories(outDir)) {
    std::fprintf(stderr, "qvplay: cannot create the output folder %s\n", outDir.c_str());
    return 1;
  }
  platform::headless::HeadlessBackend backend(outDir);
  if (!backend.log.IsOpen()) {
    std::fprintf(stderr, "qvplay: cannot write %s/events.log\n", outDir.c_str());
    return 1;
  }
  platform::posix::IconvCp932 cp932;
  platform::posix::PosixFiles files(gameDir, cp932);
  platform::posix::FileInstanceLocks locks;
  platform::Platform services{backend.clock, backend.window, backend.ui,  backend.display,
                              files,         cp932,          backend.log, locks};
  core::Engine engine(services);
  Probe probe(engine);
  backend.window.SetProbe(&probe);
  backend.window.SetEvents(std::move(events));
  shell::StartupOptions startup;
  startup.windowed = options.windowed;
  int exitCode = shell::RunGame(engine, startup);
  backend.log.Write("exit " + std::to_string(exitCode));
  return exitCode;
}

int RunWindowed(const app::CommandLine& options, const std::string& gameDir) {
#ifdef QV_HAVE_SDL
  platform::sdl::SdlOptions sdlOptions;
  sdlOptions.scale = options.scale;
  std::string error;
  auto backend = platform::sdl::SdlBackend::Create(sdlOptions, error);
  if (!backend) {
    std::fprintf(stderr, "qvplay: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  platform::posix::IconvCp932 cp932;
  platform::posix::PosixFiles files(gameDir, cp932);
  platform::posix::FileInstanceLocks locks;
  platform::NullEventLog log;
  platform::Platform services{backend->GetClock(), backend->GetWindow(), backend->GetUi(),
                              backend->GetDisplay(), files, cp932, log, locks};
  core::Engine engine(services);
  shell::StartupOptions startup;
  startup.windowed = options.windowed;
  return shell::RunGame(engine, startup);
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
  return options.headless ? RunHeadless(options, gameDir) : RunWindowed(options, gameDir);
}
