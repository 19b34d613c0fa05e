// The program's start (see Startup.h).
#include "shell/Startup.h"

#include "audio/CdAudio.h"
#include "core/PlayerSettingsFile.h"
#include "core/SettingsFile.h"
#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "screens/Logo.h"
#include "script/Interpreter.h"
#include "script/ScriptFile.h"
#include "shell/DisplayMode.h"
#include "shell/InstanceFile.h"
#include "shell/MainWindow.h"
#include "shell/WindowIcon.h"

namespace qv::shell {

int RunStartupChecks(script::Engine& engine) {
  engine.view.ResetTextPosition();
  core::PlaceSaveFolder(engine.services);
  core::LoadEnvSettings(engine.services);
  engine.audio.FollowVolumes(engine.services.env);
  if (!script::LoadScript(engine)) {
    core::ShowWarning(engine.services, core::texts::kNoScript);
    return 0;
  }
  if (core::EnsureSaveFolder(engine.services, true)) core::RemoveStaleSaveFiles(engine.services);
  if (engine.services.comforts.enabled) {
    core::LoadPlayerSettings(engine.services);
    engine.readMarks.Load(engine.services, *engine.script.Text());
  }
  // The result only tells the music commands later on; start-up goes on either way.
  if (engine.services.config.bgmFromCd == 1) audio::ScanForAudioCd(engine.audio);
  return 1;
}

int RunGame(script::Engine& engine, const StartupOptions& options) {
  auto& platform = engine.services.platform;
  engine.services.comforts.enabled = !options.original;
  engine.services.comforts.textHook = options.textHook;
  engine.services.baseDirectory = platform.files.BaseDirectory();
  ReadInstanceFile(engine);

  engine.instanceLock = platform.locks.TryAcquire(engine.services.config.instanceName);
  if (!engine.instanceLock) return 0;  // another copy of this game runs: leave silently

  if (!RunStartupChecks(engine)) return 0;

  const int32_t width = engine.services.config.width, height = engine.services.config.height;
  if (!IsPlayableFrame(width, height)) {
    core::ShowWarning(engine.services,
                      "ウィンドウの大きさが正しくありません (WindowWidth=" + std::to_string(width) +
                          ", WindowHeight=" + std::to_string(height) +
                          "; the width must be a multiple of 4, both at most 8192)");
    return 1;
  }

  MainWindow window(engine);
  if (!platform.window.Create(engine.services.Caption(), width, height)) return 1;
  engine.services.windowCreated = true;
  SetWindowIcon(engine);
  platform::Message create;
  create.id = platform::MSG_CREATE;
  window.HandleMessage(create);

  if (options.windowed) engine.services.env.windowed = *options.windowed ? 1 : 0;
  ApplyStoredDisplayMode(engine);
  if (!graphics::CreateSurfaces(engine.view)) return 0;
  // Its result only says whether the logo was there; the game starts either way.
  screens::ShowLogo(engine.view);

  platform.clock.AddParticipant();
  engine.interpreterThread = std::thread(script::RunInterpreterThread, std::ref(engine));

  int exitCode = platform.window.RunMessageLoop(window);
  // The loop can only end through the close handling, which joined the interpreter; this is
  // for a backend whose loop ended on its own.
  if (engine.interpreterThread.joinable()) {
    platform.clock.requestStop();
    engine.interpreterThread.join();
  }
  engine.readMarks.SaveIfChanged(engine.services);
  engine.services.windowCreated = false;
  engine.instanceLock.reset();
  return exitCode;
}

}  // namespace qv::shell
