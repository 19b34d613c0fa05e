// The main window: its message loop, the request channel from other threads, its timer and picture.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Message.h"

namespace qv::platform {

class Window {
 public:
  virtual ~Window() = default;

  // Window thread: creates the main window with a client area of width × height (the frame) and
  // the given title (UTF-8). Returns false when there is no display to create it on.
  virtual bool Create(const std::string& titleUtf8, int width, int height) = 0;

  // Window thread: runs the message loop, delivering every message to `procedure`, until PostQuit.
  // Returns the quit code.
  virtual int RunMessageLoop(WindowProcedure& procedure) = 0;

  // Window thread: the loop ends with `exitCode` once the current message has been handled.
  virtual void PostQuit(int exitCode) = 0;

  // Window thread, outside the message loop (the start-up logo): takes the next pending input
  // message for the window (a click, key, pointer move or timer tick) out of the queue without
  // handing it to any procedure; nothing when none is pending. Requests queued by other threads
  // and close requests are left for the loop.
  virtual std::optional<Message> TakePendingInput() = 0;

  // Any thread but the window thread: hands `message` to the window procedure and waits for its
  // result. On an interruptible thread it throws StopSignal once closing has begun.
  virtual int32_t Send(const Message& message) = 0;
  // Any thread but the window thread: runs `work` on the window thread and waits for its result
  // (message boxes and dialogs asked for by the interpreter are shown this way).
  virtual int32_t Call(const std::function<int32_t()>& work) = 0;
  // Any thread: queues `message` for the window procedure without waiting.
  virtual void Post(const Message& message) = 0;

  // Window thread: handles the sends and calls other threads have queued so far (not input), for
  // a loop of the window thread that waits for the interpreter, which may be waiting on it.
  virtual void DispatchPendingRequests() = 0;

  // Window thread: a periodic MSG_TIMER with wParam `id` every `periodMs`, replacing any timer of
  // that id; KillTimer stops it.
  virtual void SetTimer(uint32_t id, uint32_t periodMs) = 0;
  virtual void KillTimer(uint32_t id) = 0;

  // True on the thread that runs the message loop.
  virtual bool IsWindowThread() const = 0;

  // The pointer's last known position in frame coordinates (x low, y high 16 bits).
  virtual uint32_t CursorPosition() = 0;

  // The window's picture (the original's window device context): width × height × 3 bytes,
  // blue-green-red, rows bottom-up, no padding. Drawing code writes into it, then calls
  // Present so the backend shows the changed rectangle. Any thread.
  virtual uint8_t* Picture() = 0;
  virtual void Present(int x, int y, int width, int height) = 0;

  // Window thread: puts `utf8` on the desktop's clipboard as text. A window without a desktop
  // ignores it (the headless one logs it).
  virtual void SetClipboardText(const std::string& utf8) { (void)utf8; }

  // Window thread, after Create: the icon the desktop shows for the window, width x height
  // pixels, blue-green-red, rows bottom-up, no padding. A window no desktop shows ignores it.
  virtual void SetIcon(const uint8_t* bgrBottomUp, int width, int height) {
    (void)bgrBottomUp;
    (void)width;
    (void)height;
  }
};

}  // namespace qv::platform
