// The main window and its message loop (see SdlWindow.h).
#include "platform/sdl/SdlWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace qv::platform::sdl {

namespace {
// How long a turn waits for events: while the game has the input a wake-up event ends the wait
// early (a request, a picture to show) and timers bound it to their next tick, so this only
// bounds the latency of anything missed (a quit signal on a driver without events); long enough
// that a game waiting at a page sleeps. A modal box (and the drawing before the loop runs) at
// about 60 frames a second.
constexpr int kIdleWaitMs = 500;
constexpr int kModalFrameMs = 15;
}  // namespace

SdlWindow::SdlWindow(Clock& clock, int scale)
    : clock_(clock),
      queue_(clock),
      windowThread_(std::this_thread::get_id()),
      requestedScale_(std::max(scale, 0)) {
  wakeEventType_ = SDL_RegisterEvents(1);
  queue_.SetWakeHook([this] { Wake(); });
}

SdlWindow::~SdlWindow() {
  // The texture and renderer go before the window they belong to.
  texture_.reset();
  renderer_.reset();
  window_.reset();
}

void SdlWindow::SetIcon(const uint8_t* bgrBottomUp, int width, int height) {
  if (!window_ || width <= 0 || height <= 0) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
  if (!icon) return;
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    std::memcpy(static_cast<uint8_t*>(icon->pixels) + static_cast<size_t>(y) * icon->pitch,
                bgrBottomUp + static_cast<size_t>(height - 1 - y) * rowBytes, rowBytes);
  }
  SDL_SetWindowIcon(window_.get(), icon);
  SDL_FreeSurface(icon);
}

std::optional<PixelRect> SdlWindow::UsableArea() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return std::nullopt;
  return PixelRect{usable.x, usable.y, usable.w, usable.h};
}

bool SdlWindow::Create(const std::string& titleUtf8, int width, int height) {
  if (window_ || width <= 0 || height <= 0) return false;
  scale_ = ChooseScale(requestedScale_, width, height, UsableArea());
  window_.reset(SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 width * scale_, height * scale_, SDL_WINDOW_HIDDEN));
  if (!window_) {
    std::fprintf(stderr, "qvplay: cannot create the window: %s\n", SDL_GetError());
    return false;
  }
  const std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  eventsNeedPolling_ = driver == "dummy" || driver == "offscreen";
  renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (renderer_) {
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height));
  }
  if (!texture_) {
    std::fprintf(stderr, "qvplay: cannot draw into the window: %s\n", SDL_GetError());
    texture_.reset();
    renderer_.reset();
    window_.reset();
    return false;
  }
  SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
  // Shown only now: making the renderer can replace the X window with a new one (SDL tries a GL
  // framebuffer first), and a window shown before that would flash and vanish under the player.
  SDL_ShowWindow(window_.get());
  frameWidth_ = width;
  frameHeight_ = height;
  picture_ = std::make_unique<FramePicture>(width, height);
  needsRedraw_ = true;
  if (createdHook_) createdHook_();
  return true;
}

uint32_t SdlWindow::WindowId() const {
  return window_ ? SDL_GetWindowID(window_.get()) : 0;
}

FrameGeometry SdlWindow::Geometry() const {
  int windowW = frameWidth_;
  int windowH = frameHeight_;
  int outputW = frameWidth_;
  int outputH = frameHeight_;
  if (window_) SDL_GetWindowSize(window_.get(), &windowW, &windowH);
  if (renderer_) SDL_GetRendererOutputSize(renderer_.get(), &outputW, &outputH);
  return FrameGeometry(frameWidth_, frameHeight_, windowW, windowH, outputW, outputH);
}

int SdlWindow::RunMessageLoop(WindowProcedure& procedure) {
  WindowProcedure* const outer = procedure_;
  procedure_ = &procedure;
  while (!quit_) Turn(nullptr);
  procedure_ = outer;
  return quitCode_;
}

void SdlWindow::PostQuit(int exitCode) {
  quit_ = true;
  quitCode_ = exitCode;
}

int32_t SdlWindow::Send(const Message& message) {
  // The window thread would wait for itself: it handles the message at once instead.
  if (IsWindowThread()) return procedure_ ? procedure_->HandleMessage(message) : 0;
  return queue_.Send(message);
}

int32_t SdlWindow::Call(const std::function<int32_t()>& work) {
  if (IsWindowThread()) return work();
  return queue_.Call(work);
}

void SdlWindow::Post(const Message& message) {
  queue_.Post(message);
}

void SdlWindow::DispatchPendingRequests() {
  if (!quit_) queue_.DispatchPending(queueProcedure_);
}

void SdlWindow::SetTimer(uint32_t id, uint32_t periodMs) {
  timers_.Set(id, periodMs, clock_.nowMs());
}

void SdlWindow::KillTimer(uint32_t id) {
  timers_.Kill(id);
}

bool SdlWindow::IsWindowThread() const {
  return std::this_thread::get_id() == windowThread_;
}

uint32_t SdlWindow::CursorPosition() {
  return cursor_.load(std::memory_order_relaxed);
}

uint8_t* SdlWindow::Picture() {
  return picture_ ? picture_->Pixels() : nullptr;
}

void SdlWindow::Present(int x, int y, int width, int height) {
  if (!picture_) return;
  const bool firstChange = picture_->Publish(x, y, width, height);
  // Before the loop runs (the start-up logo) no turn would draw it: the window thread shows it
  // itself, as drawing on a window's device context does, but at most about once a display
  // refresh: a whole-frame render per 5-pixel strip would stretch the logo's paced reveal. A
  // change left over is drawn by the next render or the loop's first turn.
  if (!procedure_ && IsWindowThread()) {
    const uint64_t now = clock_.nowMs();
    if (!lastEarlyRenderMs_ || now - *lastEarlyRenderMs_ >= kModalFrameMs) {
      lastEarlyRenderMs_ = now;
      Render();
    }
  } else if (firstChange) {
    Wake();
  }
}

std::optional<Message> SdlWindow::TakePendingInput() {
  const auto takePad = [this]() -> std::optional<Message> {
    if (padInputForLogo_.empty()) return std::nullopt;
    const Message message = padInputForLogo_.front();
    padInputForLogo_.erase(padInputForLogo_.begin());
    return message;
  };
  if (auto pad = takePad()) return pad;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == wakeEventType_) {
      wakePending_.store(false);
      continue;
    }
    // A close request is the loop's: it acts on it as soon as it runs.
    if (event.type == SDL_QUIT) {
      closePending_ = true;
      continue;
    }
    if (window_ && event.type == SDL_WINDOWEVENT && event.window.windowID == WindowId()) {
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) closePending_ = true;
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
          event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
          event.window.event == SDL_WINDOWEVENT_RESTORED) {
        needsRedraw_ = true;
      }
    }
    if (!window_) continue;
    if (Gamepads::IsPadEvent(event)) {
      std::vector<Message> messages;
      pads_.Translate(event, messages);
      for (const Message& message : messages) {
        if (input_.PadReachesGame(message)) padInputForLogo_.push_back(message);
      }
      if (auto pad = takePad()) return pad;
      continue;
    }
    const auto message = input_.Translate(event, WindowId(), Geometry());
    cursor_.store(input_.LastPointer(), std::memory_order_relaxed);
    // Events that are no input of the window (focus, a button press) take no turn of their own.
    if (message) return message;
  }
  if (needsRedraw_) Render();
  if (const auto id = timers_.PopDue(clock_.nowMs())) return Message{MSG_TIMER, *id, 0};
  return std::nullopt;
}

void SdlWindow::Wake() {
  if (wakeEventType_ == static_cast<uint32_t>(-1) || wakePending_.exchange(true)) return;
  SDL_Event event{};
  event.type = wakeEventType_;
  if (SDL_PushEvent(&event) != 1) wakePending_.store(false);
  if (eventsNeedPolling_) {
    // Taken and let go so that a waiter between its check and its sleep cannot miss this.
    { std::lock_guard lock(idleMutex_); }
    idleWake_.notify_one();
  }
}

bool SdlWindow::WaitForEvent(SDL_Event& event, int timeoutMs) {
  if (!eventsNeedPolling_) return SDL_WaitEventTimeout(&event, timeoutMs) == 1;
  {
    std::unique_lock lock(idleMutex_);
    idleWake_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                       [&] { return wakePending_.load(); });
  }
  return SDL_PollEvent(&event) == 1;
}

void SdlWindow::Turn(ModalHooks* modal) {
  int timeoutMs = modal ? kModalFrameMs : kIdleWaitMs;
  if (const auto due = timers_.NextDue()) {
    const uint64_t now = clock_.nowMs();
    timeoutMs = *due <= now ? 0 : static_cast<int>(std::min<uint64_t>(*due - now, timeoutMs));
  }
  SDL_Event event;
  if (WaitForEvent(event, timeoutMs)) {
    HandleEvent(event, modal);
    while (!quit_ && SDL_PollEvent(&event)) HandleEvent(event, modal);
  }
  ReportPlugState();
  if (!quit_) queue_.DispatchPending(queueProcedure_);
  if (!quit_) DeliverDueTimers();
  if (!modal && closePending_ && !quit_) {
    closePending_ = false;
    Deliver(Message{MSG_CLOSE, 0, 0});
  }
  if (quit_) return;
  if (modal) {
    modal->Frame();
  } else {
    Render();
  }
}

void SdlWindow::Render() {
  if (renderer_ && (UploadChanges() || needsRedraw_)) {
    DrawFrame();
    SDL_RenderPresent(renderer_.get());
  }
}

void SdlWindow::HandleEvent(const SDL_Event& event, ModalHooks* modal) {
  if (event.type == wakeEventType_) {
    wakePending_.store(false);
    return;
  }
  if (event.type == SDL_QUIT) {  // SIGINT, SIGTERM: close as the close box would
    RequestClose(modal);
    return;
  }
  const bool ours = window_ && event.type == SDL_WINDOWEVENT && event.window.windowID == WindowId();
  if (ours) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_CLOSE:
        RequestClose(modal);
        return;
      case SDL_WINDOWEVENT_EXPOSED:
        needsRedraw_ = true;
        Deliver(Message{MSG_PAINT, 0, 0});
        break;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_RESTORED:
        needsRedraw_ = true;
        break;
      default:
        break;
    }
  }
  if (Gamepads::IsPadEvent(event)) {
    HandlePadEvent(event, modal);
    return;
  }
  if (modal) {
    input_.NoteModalEvent(event, WindowId(), Geometry());
    cursor_.store(input_.LastPointer(), std::memory_order_relaxed);
    modal->OnEvent(event);
    return;
  }
  if (!window_) return;
  const auto message = input_.Translate(event, WindowId(), Geometry());
  cursor_.store(input_.LastPointer(), std::memory_order_relaxed);
  if (message) Deliver(*message);
}

void SdlWindow::HandlePadEvent(const SDL_Event& event, ModalHooks* modal) {
  // The messages' own list: delivering one can open a box whose loop handles further pad events.
  std::vector<Message> messages;
  pads_.Translate(event, messages);
  // The game hears of a first pad before its presses, and of the last one's going after the
  // releases of what it held.
  if (pads_.AnyPlugged()) ReportPlugState();
  for (const Message& message : messages) {
    if (modal) {
      input_.NoteModalPad(message);
      modal->OnPadButton(static_cast<PadButton>(message.wParam), message.lParam != 0);
    } else if (input_.PadReachesGame(message)) {
      Deliver(message);
    }
  }
  ReportPlugState();
}

void SdlWindow::ReportPlugState() {
  if (!procedure_ || quit_) return;
  const bool plugged = pads_.AnyPlugged();
  if (plugged == padPlugReported_) return;
  padPlugReported_ = plugged;
  Deliver(Message{MSG_PAD_PLUG, plugged ? 1u : 0u, 0});
}

void SdlWindow::SetClipboardText(const std::string& utf8) {
  // Said once: a text hook puts every line there.
  if (SDL_SetClipboardText(utf8.c_str()) != 0 && !clipboardFailed_) {
    clipboardFailed_ = true;
    std::fprintf(stderr, "qvplay: cannot put text on the clipboard: %s\n", SDL_GetError());
  }
}

void SdlWindow::RequestClose(ModalHooks* modal) {
  // The close message waits until no box or menu is up: the engine's close handling must not run
  // underneath one. The box or menu gives up at once so that the wait is short.
  closePending_ = true;
  if (modal) modal->OnCloseRequest();
}

void SdlWindow::Deliver(const Message& message) {
  if (procedure_ && !quit_) procedure_->HandleMessage(message);
}

void SdlWindow::DeliverDueTimers() {
  const uint64_t now = clock_.nowMs();
  while (!quit_) {
    const auto id = timers_.PopDue(now);
    if (!id) break;
    Deliver(Message{MSG_TIMER, *id, 0});
  }
}

bool SdlWindow::UploadChanges() {
  if (!picture_ || !texture_) return false;
  return picture_->TakeChanges([this](const PixelRect& rect, const uint32_t* first, int pitch) {
    const SDL_Rect target{rect.x, rect.y, rect.w, rect.h};
    SDL_UpdateTexture(texture_.get(), &target, first, pitch);
  });
}

void SdlWindow::DrawFrame() {
  if (!renderer_) return;
  UploadChanges();
  needsRedraw_ = false;
  const FrameGeometry geometry = Geometry();
  const bool smooth = !geometry.WholeScale();
  if (smooth != smoothScaling_) {
    smoothScaling_ = smooth;
    SDL_SetTextureScaleMode(texture_.get(), smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  const PixelRect& view = geometry.View();
  const SDL_Rect target{view.x, view.y, view.w, view.h};
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &target);
}

}  // namespace qv::platform::sdl
