// Window versus full screen for the SDL window.
#pragma once

#include "platform/Display.h"
#include "platform/sdl/SdlWindow.h"

namespace qv::platform::sdl {

// Full screen is a borderless window over the desktop (the desktop's own mode stays, so nothing
// needs restoring if the program dies); the frame is letterboxed into it by SdlWindow.
class SdlDisplay final : public Display {
 public:
  explicit SdlDisplay(SdlWindow& window) : window_(window) {}

  // Window thread. Before the window exists the choice is kept and applied on creation.
  void SetFullScreen(bool fullScreen) override;
  bool FullScreen() const override { return fullScreen_; }

  // Window thread: applies the current choice to the window (called when it has been created).
  void Apply();

 private:
  SdlWindow& window_;
  bool fullScreen_ = false;
};

}  // namespace qv::platform::sdl
