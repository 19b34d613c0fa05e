// The window of headless runs: the runner that feeds scripted events to the window procedure.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/EventLog.h"
#include "platform/Window.h"
#include "platform/common/MessageQueue.h"
#include "platform/headless/EngineProbe.h"
#include "platform/headless/EventScript.h"
#include "platform/headless/HeadlessUi.h"
#include "platform/headless/VirtualClock.h"

namespace qv::platform::headless {

class HeadlessWindow final : public Window, public EventSource {
 public:
  HeadlessWindow(VirtualClock& clock, HeadlessUi& ui, EventLog& log, std::string outDir);

  void SetEvents(std::vector<ScriptedEvent> events) { events_ = std::move(events); }
  void SetProbe(EngineProbe* probe) { probe_ = probe; }

  bool Create(const std::string& titleUtf8, int width, int height) override;
  int RunMessageLoop(WindowProcedure& procedure) override;
  void PostQuit(int exitCode) override;
  std::optional<Message> TakePendingInput() override;
  int32_t Send(const Message& message) override;
  int32_t Call(const std::function<int32_t()>& work) override;
  void Post(const Message& message) override;
  void DispatchPendingRequests() override;
  void SetTimer(uint32_t id, uint32_t periodMs) override;
  void KillTimer(uint32_t id) override;
  bool IsWindowThread() const override { return clock_.IsRunnerThread(); }
  uint32_t CursorPosition() override { return cursor_; }
  void SetClipboardText(const std::string& utf8) override;
  uint8_t* Picture() override { return picture_.data(); }
  void Present(int, int, int, int) override {}

  std::optional<ScriptedEvent> TakeNextIf(ScriptedEvent::Kind a, ScriptedEvent::Kind b) override;

  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  struct Timer {
    uint32_t period;
    uint64_t nextDue;
  };
  void Pump();
  // Returns true for an idle that timed out.
  bool Perform(const ScriptedEvent& event);
  // Performs, lets the engine settle and tells the probe.
  void PerformAndReport(const ScriptedEvent& event);
  void Deliver(uint32_t id, uint32_t wParam, uint32_t lParam);
  // Lets virtual time pass until `limit`; with `untilHalted`, stops early once the interpreter
  // is halted for the player. Returns false when it stopped at the limit.
  bool PassTime(uint64_t limit, bool untilHalted);
  // Takes the next event and forgets when a wait at the front began.
  ScriptedEvent TakeNext();
  void FireDueTimers();
  std::optional<uint64_t> NextTimerDue() const;

  VirtualClock& clock_;
  HeadlessUi& ui_;
  EventLog& log_;
  std::string outDir_;
  MessageQueue queue_;
  WindowProcedure* procedure_ = nullptr;
  EngineProbe* probe_ = nullptr;
  std::vector<ScriptedEvent> events_;
  size_t nextEvent_ = 0;
  // When the event at nextEvent_ was reached outside the loop (a `wait` counts from there).
  std::optional<uint64_t> reachedAt_;
  std::map<uint32_t, Timer> timers_;
  std::vector<uint8_t> picture_;
  int width_ = 0, height_ = 0;
  uint32_t cursor_ = 0;
  bool quit_ = false;
  bool padPlugged_ = false;
  int exitCode_ = 0;
};

class HeadlessDisplay final : public Display {
 public:
  void SetFullScreen(bool fullScreen) override { fullScreen_ = fullScreen; }
  bool FullScreen() const override { return fullScreen_; }

 private:
  bool fullScreen_ = false;
};

}  // namespace qv::platform::headless
