// The main window's procedure: input routing, the internal requests, close and shut-down.
#pragma once

#include "core/AdvanceMode.h"
#include "platform/Message.h"
#include "platform/Ui.h"
#include "script/Engine.h"

namespace qv::shell {

inline constexpr uint32_t WAIT_CURSOR_TIMER = 108;
inline constexpr uint32_t kWaitCursorPeriodMs = 500;

class MainWindow final : public platform::WindowProcedure {
 public:
  explicit MainWindow(script::Engine& engine);
  ~MainWindow() override;

  // Window thread.
  int32_t HandleMessage(const platform::Message& message) override;

  platform::MenuItem& SystemMenu() { return systemMenu_; }

 private:
  void OnCreate();
  void OnClose();
  void OnDestroy();
  void OnCommand(uint32_t id);

  script::Engine& engine_;
  platform::MenuItem systemMenu_;
};

// Window thread. Returns 1 when the click was taken, 0 when it was ignored.
int HandleClick(script::Engine& engine, uint32_t position);
using core::SetSkipMode;
// Auto-advance (mode 3) on, or any other mode off.
void SetAutoMode(script::Engine& engine, int mode);
// Releases what the run holds: script, players. Returns 1.
int ShutdownCleanup(script::Engine& engine);

}  // namespace qv::shell
