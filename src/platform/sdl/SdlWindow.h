// The main window of real play: an SDL window showing the frame, its message loop and timers.
#pragma once

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Window.h"
#include "platform/common/MessageQueue.h"
#include "platform/sdl/FrameGeometry.h"
#include "platform/sdl/FramePicture.h"
#include "platform/sdl/Gamepads.h"
#include "platform/sdl/InputTranslator.h"
#include "platform/sdl/TimerSet.h"

namespace qv::platform::sdl {

// What a modal box or menu plugs into the message loop while it is up: it gets the input
// instead of the game, and draws every turn. Window thread only.
class ModalHooks {
 public:
  virtual ~ModalHooks() = default;
  // Every event of the turn except the wake-ups, the main window's close requests and the pads'.
  virtual void OnEvent(const SDL_Event& event) = 0;
  // A pad button was pressed or let go.
  virtual void OnPadButton(PadButton button, bool pressed) = 0;
  // The main window's close box was clicked or the program was asked to quit: give up.
  virtual void OnCloseRequest() = 0;
  // Draws and presents one frame.
  virtual void Frame() = 0;
};

class SdlWindow final : public Window {
 public:
  // Needs SDL's video subsystem initialised. Window thread (the thread that constructs it).
  // `scale`: the windowed picture's whole factor, 0 for the largest the desktop holds.
  SdlWindow(Clock& clock, int scale);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // The Window calls, with the threads platform/Window.h allows; CursorPosition may also be
  // called from any thread. A Create that fails says why on standard error.
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
  bool IsWindowThread() const override;
  uint32_t CursorPosition() override;
  uint8_t* Picture() override;
  void SetIcon(const uint8_t* bgrBottomUp, int width, int height) override;
  void Present(int x, int y, int width, int height) override;
  void SetClipboardText(const std::string& utf8) override;

  // The rest serves the other parts of the backend, all on the window thread.

  // Null until Create succeeded.
  SDL_Window* Handle() const { return window_.get(); }
  SDL_Renderer* Renderer() const { return renderer_.get(); }
  uint32_t WindowId() const;
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  // The whole factor of the windowed picture (the requested one, lowered to fit the desktop).
  int Scale() const { return scale_; }
  FrameGeometry Geometry() const;

  // Runs once right after the window has been created (the display applies its mode there).
  void SetCreatedHook(std::function<void()> hook) { createdHook_ = std::move(hook); }

  // One turn of the message loop: waits briefly for events, handles them, the queued requests and
  // the due timers, then draws. With `modal`, input goes to it instead of the game and it draws.
  void Turn(ModalHooks* modal);
  bool QuitRequested() const { return quit_; }

  // Draws the frame, letterboxed, into the cleared renderer (without presenting it).
  void DrawFrame();
  // Redraws at the next turn (after a mode change, say).
  void Invalidate() { needsRedraw_ = true; }

  // Whether the last press was the pointer's rather than a key's or a pad's.
  bool LastPressByPointer() const { return input_.LastPressByPointer(); }

 private:
  struct WindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
  };
  struct RendererDeleter {
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
  };
  struct TextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
  };
  // What the request queue hands its messages to: the running procedure, but nothing once the
  // loop has been told to quit (the queue itself would go on with everything queued) or before
  // any procedure runs (a box at start-up).
  class QueueProcedure final : public WindowProcedure {
   public:
    explicit QueueProcedure(SdlWindow& window) : window_(window) {}
    int32_t HandleMessage(const Message& message) override {
      if (window_.quit_ || !window_.procedure_) return 0;
      return window_.procedure_->HandleMessage(message);
    }

   private:
    SdlWindow& window_;
  };

  // The first display's area for windows (without panels), when SDL knows it.
  static std::optional<PixelRect> UsableArea();
  // Any thread: makes the window thread's wait return soon.
  void Wake();
  // The window thread's wait for an event, a wake or `timeoutMs`; true with `event` filled when an
  // SDL event came.
  bool WaitForEvent(SDL_Event& event, int timeoutMs);
  void HandleEvent(const SDL_Event& event, ModalHooks* modal);
  // A game controller's event: its button messages go to the game, or to `modal` while one is up.
  void HandlePadEvent(const SDL_Event& event, ModalHooks* modal);
  // Tells the game when the first pad has come or the last has gone, once a procedure runs (pads
  // present at start-up are announced by SDL before there is one).
  void ReportPlugState();
  void RequestClose(ModalHooks* modal);
  void Deliver(const Message& message);
  void DeliverDueTimers();
  bool UploadChanges();
  // Draws the frame and presents it when it changed or was exposed.
  void Render();

  Clock& clock_;
  MessageQueue queue_;
  const std::thread::id windowThread_;
  const int requestedScale_;
  uint32_t wakeEventType_ = 0;
  std::atomic<bool> wakePending_{false};
  // Video drivers with no event source to block on (dummy, offscreen), where SDL's own timed wait
  // polls every millisecond: the thread then sleeps on idleWake_ until a wake or the timeout, and
  // takes SDL's events (a SIGTERM's quit among them) after it.
  bool eventsNeedPolling_ = false;
  std::mutex idleMutex_;
  std::condition_variable idleWake_;

  std::unique_ptr<SDL_Window, WindowDeleter> window_;
  std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
  std::unique_ptr<SDL_Texture, TextureDeleter> texture_;
  std::unique_ptr<FramePicture> picture_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  int scale_ = 1;
  bool smoothScaling_ = false;
  std::function<void()> createdHook_;

  WindowProcedure* procedure_ = nullptr;
  QueueProcedure queueProcedure_{*this};
  TimerSet timers_;
  InputTranslator input_;
  Gamepads pads_;
  bool padPlugReported_ = false;
  std::vector<Message> padInputForLogo_;  // pad presses TakePendingInput has yet to hand out
  std::atomic<uint32_t> cursor_{0};
  bool quit_ = false;
  int quitCode_ = 0;
  bool closePending_ = false;
  bool needsRedraw_ = true;
  bool clipboardFailed_ = false;
  std::optional<uint64_t> lastEarlyRenderMs_;  // the last render Present did before the loop
};

}  // namespace qv::platform::sdl
