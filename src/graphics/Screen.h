// The screen: what the window shows, kept as a surface so a repaint can put it back, the window's
// picture the backend presents, and the one lock under which either changes.
//
// The window's picture is config.width x config.height pixels, blue-green-red, bottom-up, with no
// row padding. Both threads draw: the interpreter its scenes and transitions, the window thread
// the cursor, hovers and screens. Every change to the surface or the picture is made under the
// screen's lock, and every change to the picture is presented to the backend before the lock is
// let go, so neither thread nor the backend ever reads a half-drawn rectangle. The surfaces the
// window thread copies its looks from (the page, the scene, the screens' pictures) change under
// the same lock, through Locked.
#pragma once

#include <cstdint>
#include <mutex>

#include "core/Services.h"
#include "core/Surface.h"

namespace qv::graphics {

class Screen {
 public:
  explicit Screen(core::Services& services) : services_(services) {}
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The surface at the frame's size; Release frees it. Window thread, before and after the run.
  void Create(int width, int height);
  void Release();
  bool Empty() const { return surface_.Empty(); }
  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }

  // What the window shows. Reading needs no lock on the thread that is drawing; the other thread
  // reads it inside Locked.
  const core::Surface& Surface() const { return surface_; }

  // Into the surface, nothing shown yet: the w x h rectangle of `source` at (sx, sy) to (x, y),
  // or the same rectangle of both, or all of `source`.
  void Put(int x, int y, const core::Surface& source, int sx, int sy, int w, int h);
  void Put(const core::Surface& source, int x, int y, int w, int h) {
    Put(x, y, source, x, y, w, h);
  }
  void PutAll(const core::Surface& source) { Put(source, 0, 0, source.Width(), source.Height()); }

  // `edit(surface)` under the lock, for changes the copies above do not cover and for the looks
  // the window thread copies from. Never wait for time or for the other thread inside.
  template <typename Edit>
  void Locked(Edit&& edit) {
    std::lock_guard lock(mutex_);
    edit(surface_);
  }

  // Onto the window: the w x h rectangle of `source` at (sx, sy) at (dx, dy), clipped; all of
  // `source` at (0, 0); the surface itself, or a rectangle of it in place.
  void Show(const core::Surface& source, int sx, int sy, int w, int h, int dx, int dy);
  void ShowAll(const core::Surface& source) {
    Show(source, 0, 0, source.Width(), source.Height(), 0, 0);
  }
  void ShowScreen() { ShowAll(surface_); }
  void ShowScreen(int x, int y, int w, int h) { Show(surface_, x, y, w, h, x, y); }
  // All of `source` stretched onto the dw x dh rectangle at (dx, dy) (see Canvas::Stretch).
  void Stretch(const core::Surface& source, int dx, int dy, int dw, int dh);

  // Holds the lock for a run of drawing on the window and presents the rectangle around
  // everything drawn when it ends. Any thread; never wait for time or for the other thread while
  // one is alive.
  class Canvas {
   public:
    explicit Canvas(Screen& screen);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The screen's surface, for passes that write it and the window in one go.
    core::Surface& Surface() { return screen_.surface_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Null when the window has no picture (nothing is drawn then).
    uint8_t* Pixels() { return pixels_; }
    // True when the picture's bytes are laid out exactly as `surface`'s, so a whole-frame pass
    // can write both in one go (MarkAll then tells the backend).
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

    Screen& screen_;
    std::lock_guard<std::mutex> lock_;
    uint8_t* pixels_;
    int width_;
    int height_;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;  // drawn so far; empty while right_ is 0
  };

 private:
  core::Services& services_;
  core::Surface surface_;
  std::mutex mutex_;
};

}  // namespace qv::graphics
