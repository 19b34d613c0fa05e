// The window's picture: the engine's bottom-up BGR buffer and the top-down copy the screen shows.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/sdl/FrameGeometry.h"

namespace qv::platform::sdl {

// Drawing code writes the picture on its own thread and then publishes a rectangle; publishing
// copies that rectangle, on the drawing thread, into a staging image guarded by a lock. The window
// thread only ever reads the staging image, so it never reads pixels while they are being drawn.
class FramePicture {
 public:
  FramePicture(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Any thread: width x height x 3 bytes, blue-green-red, rows bottom-up, no padding; black at
  // first. The pointer stays valid for the picture's lifetime.
  uint8_t* Pixels() { return pixels_.data(); }

  // Any thread: copies the rectangle (top-down drawing coordinates, clipped to the frame) into the
  // staging image. Returns true when this call turned "nothing to show" into "something to
  // show", i.e. when the window thread needs waking.
  bool Publish(int x, int y, int width, int height);

  // Window thread: the staging image's rows are 32-bit 0xXXRRGGBB values, top-down, `Width()`
  // pixels apart. If anything was published since the last call, hands the changed rectangle
  // (with a pointer to its first pixel) to `upload` under the lock and returns true.
  using Upload = std::function<void(const PixelRect& rect, const uint32_t* first, int pitchBytes)>;
  bool TakeChanges(const Upload& upload);

 private:
  int width_;
  int height_;
  std::vector<uint8_t> pixels_;

  std::mutex mutex_;
  std::vector<uint32_t> staging_;  // guarded by mutex_
  PixelRect dirty_;                // guarded by mutex_; empty when w == 0
};

}  // namespace qv::platform::sdl
