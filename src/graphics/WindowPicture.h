// Drawing onto the window's picture: rectangles and stretches of surfaces, and the display's pace.
//
// The window's picture is config.width x config.height pixels, blue-green-red, bottom-up, with no
// row padding. Both threads draw on it, always under graphics.windowMutex, and every change is
// presented to the backend before the lock is let go, so it never reads a half-drawn rectangle.
#pragma once

#include <cstdint>
#include <mutex>

#include "core/Surface.h"
#include "graphics/Presentation.h"

namespace qv::graphics {

// Holds the window lock for a run of drawing and presents the rectangle around everything drawn
// when it ends. Any thread; never wait for time or for the other thread while one is alive.
class WindowCanvas {
 public:
  explicit WindowCanvas(Presentation& view);
  ~WindowCanvas();
  WindowCanvas(const WindowCanvas&) = delete;
  WindowCanvas& operator=(const WindowCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Null when the window has no picture (nothing is drawn then).
  uint8_t* Pixels() { return pixels_; }
  // True when the picture's bytes are laid out exactly as `surface`'s, so a whole-frame pass can
  // write both in one go (MarkAll then tells the backend).
  bool SameLayoutAs(const core::Surface& surface) const;

  // The w x h rectangle of `source` at (sx, sy) to (dx, dy), clipped to both.
  void Copy(const core::Surface& source, int sx, int sy, int w, int h, int dx, int dy);
  // All of `source` stretched onto the dw x dh rectangle at (dx, dy) by dropping or repeating
  // pixels: window column dx + u takes source column u * source width / dw (rounded down), rows
  // alike. Clipped to the window; a width or height of 0 or less draws nothing.
  void Stretch(const core::Surface& source, int dx, int dy, int dw, int dh);
  // Pixels() was written directly: all of it changed.
  void MarkAll() { Mark(0, 0, width_, height_); }

 private:
  void Mark(int x, int y, int w, int h);

  Presentation& view_;
  std::lock_guard<std::mutex> lock_;
  uint8_t* pixels_;
  int width_;
  int height_;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;  // drawn so far; empty while right_ is 0
};

// Shows the w x h rectangle of `source` at (sx, sy) on the window at (dx, dy), clipped.
void ShowRect(Presentation& view, const core::Surface& source, int sx, int sy, int w, int h, int dx,
              int dy);
// Shows all of `source` at (0, 0).
void ShowSurface(Presentation& view, const core::Surface& source);
// Shows all of `source` stretched onto the dw x dh rectangle at (dx, dy) (see Stretch).
void StretchToWindow(Presentation& view, const core::Surface& source, int dx, int dy, int dw,
                     int dh);

// Display refreshes happen 60 times a second, at floor(k * 1000 / 60) ms on the engine's clock.
// The first refresh instant after `nowMs`.
uint64_t NextDisplayRefresh(uint64_t nowMs);
// Waits for the next refresh, so that the frame just drawn is on the screen for one refresh
// (on a virtual clock, time moves to that instant). Interpreter thread.
void WaitForDisplayRefresh(Presentation& view);

}  // namespace qv::graphics
