// Test support for the SDL backend: a backend without a display (SDL's dummy driver), a scripted
// window procedure with a watchdog, and synthetic input events.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/SdlWindow.h"

namespace qv::platform::sdl::testing {

// Message ids of the tests' own, above the engine's.
inline constexpr uint32_t MSG_TEST_START = 0xC000;
inline constexpr uint32_t kTestQuit = MSG_TEST_START + 2;
inline constexpr uint32_t kWatchdogTimer = 0xDEAD;

// The dummy driver draws in software without a display, and without the graphics libraries the
// offscreen driver loads, whose memory the leak checker reports.
inline std::unique_ptr<SdlBackend> CreateDisplaylessBackend() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string error;
  SdlOptions options;
  options.scale = 1;  // the frame 1:1, whatever the dummy display's size would allow
  auto backend = SdlBackend::Create(options, error);
  EXPECT_TRUE(backend) << error;
  return backend;
}

// A displayless backend whose window is made at `Width` x `Height` before each test.
template <int Width, int Height>
class DisplaylessWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(backend_ = CreateDisplaylessBackend());
    ASSERT_TRUE(window().Create("テスト", Width, Height));
  }
  SdlWindow& window() { return static_cast<SdlWindow&>(backend_->GetWindow()); }
  Ui& ui() { return backend_->GetUi(); }

  std::unique_ptr<SdlBackend> backend_;
};

// Records every message and hands it to `onMessage`; ends the loop with -1 after `watchdogMs` so a
// broken test fails instead of hanging. A kTestQuit message ends it with its wParam.
class ScriptedProcedure final : public WindowProcedure {
 public:
  explicit ScriptedProcedure(Window& window) : window_(window) {}

  std::function<int32_t(const Message&)> onMessage;

  // Once the loop runs, `player` starts on a thread of its own (joined when the loop has ended)
  // and then `onStart` runs on the window thread.
  int Run(std::function<void()> onStart = {}, std::function<void()> player = {},
          uint32_t watchdogMs = 5000) {
    onStart_ = std::move(onStart);
    player_ = std::move(player);
    window_.SetTimer(kWatchdogTimer, watchdogMs);
    window_.Post(Message{MSG_TEST_START, 0, 0});
    const int result = window_.RunMessageLoop(*this);
    if (thread_.joinable()) thread_.join();
    return result;
  }

  int32_t HandleMessage(const Message& message) override {
    if (message.id == MSG_TIMER && message.wParam == kWatchdogTimer) {
      ADD_FAILURE() << "watchdog: the test did not end its message loop";
      window_.PostQuit(-1);
      return 0;
    }
    {
      std::lock_guard lock(mutex_);
      seen_.push_back(message);
    }
    if (message.id == MSG_TEST_START && player_) thread_ = std::thread(player_);
    if (message.id == MSG_TEST_START && onStart_) onStart_();
    if (message.id == kTestQuit) window_.PostQuit(static_cast<int>(message.wParam));
    return onMessage ? onMessage(message) : 0;
  }

  std::vector<Message> Seen(uint32_t id) {
    std::lock_guard lock(mutex_);
    std::vector<Message> matching;
    for (const Message& message : seen_) {
      if (message.id == id) matching.push_back(message);
    }
    return matching;
  }

 private:
  Window& window_;
  std::function<void()> onStart_, player_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Message> seen_;
};

inline void Sleep(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// From another thread: returns once the window thread has (all but surely) drawn `frames` more
// frames of whatever it shows. Every turn of a modal loop ends with a frame; the pause after each
// send keeps the next one out of the turn that handled it.
inline void WaitForFrames(Window& window, int frames) {
  for (int i = 0; i <= frames; ++i) {
    window.Send(Message{MSG_TEST_START + 1, 0, 0});
    Sleep(25);
  }
}

// Input as the system delivers it to window `windowId` (0: none in particular).
inline SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, uint32_t windowId = 0) {
  const Uint8 state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  const SDL_Keysym keysym{scancode, SDL_GetKeyFromScancode(scancode), 0, 0};
  SDL_Event event{};
  event.key = {type, 0, windowId, state, 0, 0, 0, keysym};
  return event;
}
inline SDL_Event ButtonEvent(Uint32 type, Uint8 button, int x, int y, uint32_t windowId) {
  const Uint8 state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  SDL_Event event{};
  event.button = {type, 0, windowId, 0, button, state, 0, 0, x, y};
  return event;
}
// Text an input method composes (SDL_TEXTEDITING) or commits (SDL_TEXTINPUT).
inline SDL_Event TextEvent(Uint32 type, const char* utf8, uint32_t windowId = 0) {
  SDL_Event event{};
  event.text.type = type;  // the editing event's fields up to its text are the same
  event.text.windowID = windowId;
  SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
  return event;
}

// The same, pushed into SDL's queue from any thread.
inline void Push(SDL_Event event) {
  SDL_PushEvent(&event);
}
// Press and release at once, as synthetic input does.
inline void Tap(SDL_Scancode scancode, uint32_t windowId = 0) {
  Push(KeyEvent(SDL_KEYDOWN, scancode, windowId));
  Push(KeyEvent(SDL_KEYUP, scancode, windowId));
}
inline void Click(Uint8 button, int x, int y, uint32_t windowId) {
  Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, button, x, y, windowId));
  Push(ButtonEvent(SDL_MOUSEBUTTONUP, button, x, y, windowId));
}
inline SDL_Event PadButtonEvent(Uint32 type, uint8_t button) {
  SDL_Event event{};
  event.cbutton.type = type;
  event.cbutton.which = 1;
  event.cbutton.button = button;
  event.cbutton.state = type == SDL_CONTROLLERBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  return event;
}
inline void PushWindowEvent(Uint8 what, uint32_t windowId) {
  SDL_Event event{};
  event.window = {SDL_WINDOWEVENT, 0, windowId, what, 0, 0, 0, 0, 0};
  Push(event);
}

}  // namespace qv::platform::sdl::testing
