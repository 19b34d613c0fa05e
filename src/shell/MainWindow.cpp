// The main window's procedure (see MainWindow.h).
#include "shell/MainWindow.h"

#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "graphics/WindowPicture.h"
#include "resources/SystemMenuResource.h"
#include "screens/SaveLoadScreen.h"
#include "screens/WaitCursor.h"
#include "shell/AudioRequests.h"
#include "shell/OnScreenInput.h"
#include "shell/SystemMenu.h"

namespace qv::shell {

using platform::Message;

MainWindow::MainWindow(core::Engine& engine) : engine_(engine) {
  engine_.windowProcedure = this;
}

MainWindow::~MainWindow() {
  if (engine_.windowProcedure == this) engine_.windowProcedure = nullptr;
}

void SetAutoMode(core::Engine& engine, int mode) {
  if (mode == 3) {
    engine.advanceMode = 3;
    if (engine.messageWindowShown == 0) graphics::ToggleMessageWindow(engine, 0);
    engine.gate.Resume();
  } else {
    engine.advanceMode = 0;
  }
}

namespace {

void SendVoiceStop(core::Engine& engine) {
  Message stop;
  stop.id = platform::MSG_VOICE_STOP;
  core::SendToWindow(engine, stop);
}

}  // namespace

int HandleClick(core::Engine& engine, uint32_t position) {
  if (engine.syncActive == 1) return 0;
  if (engine.inputBusy == 0 && engine.voicePlaying == 1) SendVoiceStop(engine);
  if (engine.screenMode != 0) {
    if (engine.inputBusy == 1) return 0;
    if (screens::IsSaveLoadScreen(engine.screenMode)) {
      SlotClick(engine, position);
      return 1;
    }
    BarButtonClick(engine, position);
    ChoiceClick(engine, position);
    return 1;
  }
  if (engine.advanceMode == 1) {
    SetSkipMode(engine, false);
  } else if (engine.advanceMode == 3 && engine.clickEndsAuto == 1) {
    SetAutoMode(engine, 0);
  } else if (BarButtonClick(engine, position) == 2) {
    return 1;
  }
  if (engine.messageWindowActive == 1 && engine.messageWindowShown == 0) {
    graphics::ToggleMessageWindow(engine, 0);
    return 1;
  }
  engine.gate.Resume();
  return 1;
}

int ShutdownCleanup(core::Engine& engine) {
  screens::FreeSaveLoadBackups(engine);
  graphics::ReleaseSurfaces(engine);
  engine.SetScript(nullptr);
  engine.musicPlayer.Stop();
  engine.voicePlayer.Stop();
  engine.voicePlaying = 0;
  return 1;
}

void MainWindow::OnCreate() {
  systemMenu_ = resources::LoadSystemMenu();
  engine_.advanceMode = 0;
  engine_.platform.window.SetTimer(WAIT_CURSOR_TIMER, kWaitCursorPeriodMs);
}

void MainWindow::OnClose() {
  // The interpreter unwinds from whatever it waits for without running another line; joining
  // it here means nothing below can race with it.
  engine_.closing = true;
  engine_.platform.clock.requestStop();
  if (engine_.interpreterThread.joinable()) engine_.interpreterThread.join();
  Message destroy;
  destroy.id = platform::MSG_DESTROY;
  HandleMessage(destroy);
}

void MainWindow::OnDestroy() {
  engine_.platform.window.KillTimer(WAIT_CURSOR_TIMER);
  ShutdownCleanup(engine_);
  // Full screen here is a borderless window over an unchanged desktop: there is no display
  // mode to restore.
  engine_.platform.window.PostQuit(0);
}

void MainWindow::OnCommand(uint32_t id) {
  RunMenuCommand(engine_, systemMenu_, id);
}

int32_t MainWindow::HandleMessage(const Message& message) {
  using namespace platform;
  switch (message.id) {
    case MSG_CREATE:
      OnCreate();
      return 0;
    case MSG_DESTROY:
      OnDestroy();
      return 0;
    case MSG_PAINT:
      if (!engine_.graphics.screenSurface.Empty()) {
        graphics::ShowSurface(engine_, engine_.graphics.screenSurface);
      }
      return 0;
    case MSG_CLOSE:
      OnClose();
      return 0;
    case MSG_KEYUP:
      if (engine_.messageWindowActive == 1 && engine_.messageWindowShown == 0) return 0;
      HandleClick(engine_, message.lParam);
      // Print Screen also took the clipboard once, which leaves nothing to do here.
      if (message.wParam == VK_SNAPSHOT) return 1;
      return 0;
    case MSG_COMMAND:
      OnCommand(message.wParam & 0xFFFF);
      return 0;
    case MSG_TIMER:
      screens::AnimateWaitCursor(engine_);
      return 0;
    case MSG_MOUSEMOVE:
      HandleHover(engine_, message.lParam);
      return 0;
    case MSG_LBUTTONUP:
      HandleClick(engine_, message.lParam);
      return 0;
    case MSG_RBUTTONUP:
      if (engine_.advanceMode == 3) SetAutoMode(engine_, 0);
      ShowSystemMenu(engine_, systemMenu_, message.lParam);
      return 0;
    default:
      if (IsAudioRequest(message.id)) return HandleAudioRequest(engine_, message);
      return 0;
  }
}

}  // namespace qv::shell
