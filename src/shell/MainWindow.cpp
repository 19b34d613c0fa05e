// The main window's procedure (see MainWindow.h).
#include "shell/MainWindow.h"

#include "audio/AudioRequests.h"
#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "graphics/Screen.h"
#include "resources/SystemMenuResource.h"
#include "screens/SaveLoadScreen.h"
#include "screens/WaitCursor.h"
#include "shell/OnScreenInput.h"
#include "shell/PlayerInput.h"
#include "shell/Screenshot.h"
#include "shell/SystemMenu.h"

namespace qv::shell {

using platform::Message;

MainWindow::MainWindow(script::Engine& engine) : engine_(engine) {
  engine_.services.windowProcedure = this;
}

MainWindow::~MainWindow() {
  if (engine_.services.windowProcedure == this) engine_.services.windowProcedure = nullptr;
}

void SetAutoMode(script::Engine& engine, int mode) {
  if (mode == 3) {
    engine.input.advanceMode = core::AdvanceMode::Auto;
    if (engine.view.messageWindowShown == 0) graphics::ToggleMessageWindow(engine.view, 0);
    engine.script.gate.Resume();
  } else {
    engine.input.advanceMode = core::AdvanceMode::Normal;
  }
}

namespace {

void StopVoice(script::Engine& engine) {
  audio::RequestAudio(engine.audio, {audio::AudioRequest::Kind::VoiceStop});
}

}  // namespace

int HandleClick(script::Engine& engine, uint32_t position) {
  if (engine.script.syncActive == 1) return 0;
  if (engine.input.inputBusy == 0 && engine.audio.voicePlaying == 1) StopVoice(engine);
  if (engine.input.screenMode != core::ScreenMode::Game) {
    if (engine.input.inputBusy == 1) return 0;
    if (core::IsSaveLoadScreen(engine.input.screenMode)) {
      SlotClick(engine, position);
      return 1;
    }
    // A click the bar took (a screen opened, the window hidden) is not also a pick of an item
    // under the button: an item picked there would run the script on under the open screen.
    if (BarButtonClick(engine, position) != 2) ChoiceClick(engine, position);
    return 1;
  }
  if (engine.input.advanceMode == core::AdvanceMode::Skip) {
    SetSkipMode(engine.input, engine.services.env, engine.script.gate, false);
  } else if (engine.input.advanceMode == core::AdvanceMode::Auto &&
             engine.input.clickEndsAuto == 1) {
    SetAutoMode(engine, 0);
  } else if (BarButtonClick(engine, position) == 2) {
    return 1;
  }
  if (engine.view.messageWindowActive == 1 && engine.view.messageWindowShown == 0) {
    graphics::ToggleMessageWindow(engine.view, 0);
    return 1;
  }
  engine.script.gate.Resume();
  return 1;
}

int ShutdownCleanup(script::Engine& engine) {
  screens::FreeSaveLoadBackups(engine.saveLoad);
  graphics::ReleaseSurfaces(engine.view);
  engine.script.SetText(nullptr);
  engine.audio.musicPlayer.Stop();
  engine.audio.voicePlayer.Stop();
  engine.audio.voicePlaying = 0;
  return 1;
}

void MainWindow::OnCreate() {
  systemMenu_ = resources::LoadSystemMenu();
  engine_.input.advanceMode = core::AdvanceMode::Normal;
  engine_.services.platform.window.SetTimer(WAIT_CURSOR_TIMER, kWaitCursorPeriodMs);
}

void MainWindow::OnClose() {
  // The interpreter unwinds from whatever it waits for without running another line; joining
  // it here means nothing below can race with it.
  engine_.services.closing = true;
  engine_.services.platform.clock.requestStop();
  if (engine_.interpreterThread.joinable()) engine_.interpreterThread.join();
  Message destroy;
  destroy.id = platform::MSG_DESTROY;
  HandleMessage(destroy);
}

void MainWindow::OnDestroy() {
  engine_.services.platform.window.KillTimer(WAIT_CURSOR_TIMER);
  ShutdownCleanup(engine_);
  // Full screen here is a borderless window over an unchanged desktop: there is no display
  // mode to restore.
  engine_.services.platform.window.PostQuit(0);
}

void MainWindow::OnCommand(uint32_t id) {
  RunMenuCommand(engine_, systemMenu_, id);
}

int32_t MainWindow::HandleMessage(const Message& message) {
  using namespace platform;
  if (engine_.services.comforts.enabled && HandlePlayerInput(engine_, systemMenu_, message))
    return 0;
  switch (message.id) {
    case MSG_CREATE:
      OnCreate();
      return 0;
    case MSG_DESTROY:
      OnDestroy();
      return 0;
    case MSG_PAINT:
      if (!engine_.view.screen.Empty()) engine_.view.screen.ShowScreen();
      return 0;
    case MSG_CLOSE:
      OnClose();
      return 0;
    case MSG_KEYUP:
      if (engine_.view.messageWindowActive == 1 && engine_.view.messageWindowShown == 0) return 0;
      HandleClick(engine_, message.lParam);
      // Print Screen also took the clipboard once; a picture file stands in for that.
      if (message.wParam == VK_SNAPSHOT) {
        SaveScreenshot(engine_);
        return 1;
      }
      return 0;
    case MSG_COMMAND:
      OnCommand(message.wParam & 0xFFFF);
      return 0;
    case MSG_TIMER:
      screens::AnimateWaitCursor(engine_.view);
      return 0;
    case MSG_MOUSEMOVE:
      HandleHover(engine_, message.lParam);
      return 0;
    case MSG_LBUTTONUP:
      HandleClick(engine_, message.lParam);
      return 0;
    case MSG_RBUTTONUP:
      RightClick(engine_, systemMenu_, message.lParam);
      return 0;
    case MSG_TOGGLE_FULLSCREEN:
      OnCommand(resources::ID_FULLSCREEN);
      return 0;
    case MSG_STREAM_DONE:
      audio::OnStreamDone(engine_.audio, message.wParam);
      return 0;
    default:
      return 0;
  }
}

}  // namespace qv::shell
