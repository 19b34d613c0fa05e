// Creates the backend of real play: SDL's video subsystem, the window, its display, its UI and
// sound.
#include "platform/sdl/SdlBackend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/common/RealClock.h"
#include "platform/sdl/SdlAudioDevice.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlUi.h"
#include "platform/sdl/SdlWindow.h"

namespace qv::platform::sdl {

namespace {

// SDL's subsystems for the backend's lifetime: declared first in the backend, so released last.
class SdlSubsystems {
 public:
  SdlSubsystems() = default;
  ~SdlSubsystems() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER); }
  SdlSubsystems(const SdlSubsystems&) = delete;
  SdlSubsystems& operator=(const SdlSubsystems&) = delete;
};

class SdlBackendImpl final : public SdlBackend {
 public:
  explicit SdlBackendImpl(const SdlOptions& options)
      : window_(clock_, options.scale), display_(window_), ui_(window_, options.comforts) {
    window_.SetCreatedHook([this] { display_.Apply(); });
  }

  Clock& GetClock() override { return clock_; }
  Window& GetWindow() override { return window_; }
  Ui& GetUi() override { return ui_; }
  Display& GetDisplay() override { return display_; }
  AudioDevice& GetAudio() override { return audio_; }

 private:
  SdlSubsystems subsystems_;
  RealClock clock_;
  SdlWindow window_;
  SdlDisplay display_;
  SdlUi ui_;
  SdlAudioDevice audio_;
};

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Create(const SdlOptions& options, std::string& error) {
  // The window's close box is the engine's business (it closes through its own message); quitting
  // SDL by itself when the last window closes would bypass it.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A click that activates the window also counts, as it does on Windows.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The dialogs draw no candidate list of their own: let the input method show its own.
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
  // Without a desktop session only the console's own display can serve; probing the desktop
  // drivers then just prints their complaints.
#ifdef __EMSCRIPTEN__
  // The window thread is a worker, which cannot make a WebGL context for the page's canvas; the
  // software renderer hands its frames to the page instead.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
#else
  if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "KMSDRM");
  }
#endif
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error = std::string("no display (") + SDL_GetError() + "); use --headless to run without one";
    return nullptr;
  }
  // With no display SDL quietly falls back to drivers that draw nowhere; a player would then
  // wait for a window that never comes. Only an explicit SDL_VIDEODRIVER may choose them.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && (!asked || driver != asked)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    error =
        "no display to open a window on (DISPLAY or WAYLAND_DISPLAY is not set); "
        "use --headless to run without one";
    return nullptr;
  }
  // The game reads raw keys; an input method only gets them while a dialog asks for text.
  SDL_StopTextInput();
  // Pads are a comfort: without them the game plays on. SDL announces those already plugged in
  // as if they had just come. (A browser lets only the page's own thread read its gamepads, and
  // the window thread is a worker there.)
#ifndef __EMSCRIPTEN__
  if (options.comforts && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "qvplay: no gamepads (%s)\n", SDL_GetError());
  }
#endif
  return std::make_unique<SdlBackendImpl>(options);
}

}  // namespace qv::platform::sdl
