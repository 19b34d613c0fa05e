// A whole headless run of a game (see HeadlessRun.h).
#include "app/HeadlessRun.h"

#include <sys/stat.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "platform/common/TableCp932.h"
#include "platform/fonts/FreeTypeGlyphs.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/posix/FileInstanceLocks.h"
#include "platform/posix/PosixFiles.h"
#include "script/Engine.h"
#include "shell/Startup.h"
#include "shell/StateDump.h"

namespace qv::app {

namespace {

class Probe final : public platform::headless::EngineProbe {
 public:
  Probe(script::Engine& engine, const HeadlessRunOptions& options)
      : engine_(engine), options_(options) {}
  bool HaltedForPlayer() override { return shell::HaltedForPlayer(engine_); }
  std::string StateJson() override { return shell::StateJson(engine_); }
  void AfterEvent(const platform::headless::EventReport& report) override {
    if (options_.afterEvent) options_.afterEvent(engine_, report);
  }

 private:
  script::Engine& engine_;
  const HeadlessRunOptions& options_;
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

}  // namespace

int RunHeadless(const HeadlessRunOptions& options) {
  std::vector<platform::headless::ScriptedEvent> events;
  std::string error;
  if (!platform::headless::ParseEventScript(options.eventsText, events, error)) {
    std::fprintf(stderr, "qvplay: %s:%s\n", options.eventsName.c_str(), error.c_str());
    return 2;
  }
  if (!MakeDirectories(options.outDir)) {
    std::fprintf(stderr, "qvplay: cannot create the output folder %s\n", options.outDir.c_str());
    return 1;
  }
  platform::headless::HeadlessBackend backend(options.outDir);
  if (!backend.log.IsOpen()) {
    std::fprintf(stderr, "qvplay: cannot write %s/events.log\n", options.outDir.c_str());
    return 1;
  }
  platform::TableCp932 cp932;
  platform::posix::PosixFiles files(options.gameDir, cp932);
  platform::posix::FileInstanceLocks locks(options.lockDir);
  // A headless run sees no drives, whatever the machine has.
  platform::NoOpticalDrives drives;
  platform::fonts::FreeTypeGlyphs glyphs(cp932);
  platform::Platform services{backend.clock, backend.window, backend.ui,   backend.display,
                              files,         cp932,          backend.log,  locks,
                              drives,        glyphs,         backend.audio};
  script::Engine engine(services);
  Probe probe(engine, options);
  backend.window.SetProbe(&probe);
  backend.window.SetEvents(std::move(events));
  int exitCode = shell::RunGame(engine, options.startup);
  backend.log.Write("exit " + std::to_string(exitCode));
  return exitCode;
}

}  // namespace qv::app
