// The backend for real play: an SDL2 window, input, Dear ImGui dialogs and menus, sound, real time.
#pragma once

#include <memory>
#include <string>

#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Ui.h"
#include "platform/Window.h"

namespace qv::platform::sdl {

struct SdlOptions {
  // Whole factor for the windowed picture (--scale N); 0: the largest the desktop holds.
  int scale = 0;
  // The player's additions: gamepads, and the keys' and pad's focus in boxes and menus. Off for
  // play exactly as the original (--original).
  bool comforts = true;
};

class SdlBackend {
 public:
  virtual ~SdlBackend() = default;
  // Initialises SDL's video subsystem. Null with a one-line reason in `error` when there is no
  // display to open a window on.
  static std::unique_ptr<SdlBackend> Create(const SdlOptions& options, std::string& error);

  virtual Clock& GetClock() = 0;
  virtual Window& GetWindow() = 0;
  virtual Ui& GetUi() = 0;
  virtual Display& GetDisplay() = 0;
  virtual AudioDevice& GetAudio() = 0;
};

}  // namespace qv::platform::sdl
