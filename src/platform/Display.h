// Window versus full screen presentation of the W × H frame.
#pragma once

namespace qv::platform {

class Display {
 public:
  virtual ~Display() = default;
  // Window thread. Full screen is a borderless window over the desktop with the frame scaled to
  // fit, aspect ratio kept; windowed shows the frame at the chosen whole scale factor in a window
  // that cannot be resized or maximised. Mouse positions always reach the engine in frame
  // coordinates either way.
  virtual void SetFullScreen(bool fullScreen) = 0;
  virtual bool FullScreen() const = 0;
};

}  // namespace qv::platform
