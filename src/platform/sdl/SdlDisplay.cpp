// Window versus full screen for the SDL window (see SdlDisplay.h).
#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>

namespace qv::platform::sdl {

void SdlDisplay::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  Apply();
}

void SdlDisplay::Apply() {
  SDL_Window* handle = window_.Handle();
  if (!handle) return;
  if (fullScreen_) {
    SDL_SetWindowFullscreen(handle, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    const int display = std::max(SDL_GetWindowDisplayIndex(handle), 0);
    SDL_SetWindowFullscreen(handle, 0);
    SDL_SetWindowResizable(handle, SDL_FALSE);
    SDL_SetWindowSize(handle, window_.FrameWidth() * window_.Scale(),
                      window_.FrameHeight() * window_.Scale());
    SDL_SetWindowPosition(handle, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  }
  window_.Invalidate();
}

}  // namespace qv::platform::sdl
