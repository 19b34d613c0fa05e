// The transitions that reveal the new picture rectangle by rectangle: blinds, tiles, the ragged
// wipe, row and column wipes and the interleaved strips.
#include <algorithm>
#include <vector>

#include "core/Random.h"
#include "graphics/Screen.h"
#include "graphics/TransitionSteps.h"
#include "graphics/Transitions.h"

namespace qv::graphics {

using platform::WaitStyle;

namespace {

constexpr int kBandSize = 10;
constexpr int kTileSize = 20;
// Tile rows from this one on appear one frame later than the diagonal: the wipe's edge has a step
// there, part of its look.
constexpr int kFirstLateTileRow = 11;
// Strips of 5 pixels, one every 10 from each side (19, 20) or one a frame (7).
constexpr int kStrip = 5;
constexpr int kStripPitch = 10;
// The ragged wipe's rows lag by up to 31 columns behind a front that starts 32 columns left of
// the picture and runs on until 160 columns past its right edge.
constexpr int kRaggedLead = 32;
constexpr int kRaggedOvershoot = 160;

int CeilDiv(int value, int divisor) {
  return (value + divisor - 1) / divisor;
}

}  // namespace

int VerticalBlinds(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  const int frames = kBandSize + 1;
  for (int s = 0; s < frames; ++s) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      for (int x = 0; x < screen.Width(); x += kBandSize) {
        canvas.Copy(screen, x, 0, s, screen.Height(), x, 0);
      }
    }
    frame.WaitUntil(30, WaitStyle::Yield);
  }
  return frames;
}

int HorizontalBlinds(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  const int frames = kBandSize + 1;
  for (int s = 0; s < frames; ++s) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      for (int band = 0; band < screen.Height() / kBandSize; ++band) {
        canvas.Copy(screen, 0, band * kBandSize, screen.Width(), s, 0, band * kBandSize);
      }
    }
    frame.WaitUntil(30, WaitStyle::Yield);
  }
  return frames;
}

int DiagonalTiles(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  // Tile (column c, row r) appears in frame c + r, one frame later from kFirstLateTileRow on; the
  // last frame shows the bottom-right tile.
  const int columns = CeilDiv(screen.Width(), kTileSize);
  const int rows = CeilDiv(screen.Height(), kTileSize);
  auto delay = [](int row) { return row >= kFirstLateTileRow ? 1 : 0; };
  const int frames = rows == 0 || columns == 0 ? 0 : columns + rows - 1 + delay(rows - 1);
  for (int s = 0; s < frames; ++s) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      for (int r = 0; r < rows && r <= s; ++r) {
        const int x = kTileSize * (s - r - delay(r));
        canvas.Copy(screen, x, kTileSize * r, kTileSize, kTileSize, x, kTileSize * r);
      }
    }
    frame.WaitUntil(20, WaitStyle::Yield);
  }
  return frames;
}

int RaggedWipe(Presentation& view) {
  const core::Surface& scene = view.sceneSurface;
  const int height = scene.Height();
  std::vector<int> offsets(static_cast<size_t>(std::max(height, 0)));
  for (int& offset : offsets) offset = static_cast<int>(core::DrawRandom(view.randomState) & 31);
  view.screen.PutAll(scene);
  // 160 frames at a width of 640.
  const int frames = CeilDiv(scene.Width() + kRaggedOvershoot, kStrip);
  for (int f = 0; f < frames; ++f) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      const int front = f * kStrip;
      for (int y = 0; y < height; ++y) {
        const int x = front + offsets[static_cast<size_t>(y)] - kRaggedLead;
        canvas.Copy(scene, x, y, kStrip, 1, x, y);
      }
    }
    frame.WaitUntil(2, WaitStyle::Yield);
  }
  view.screen.ShowScreen();
  return frames;
}

int RowWipe(Presentation& view, bool downwards) {
  const core::Surface& scene = view.sceneSurface;
  const int height = scene.Height();
  // Upwards starts at row H, below the picture: its first frame shows nothing.
  const int frames = downwards ? height : height + 1;
  for (int f = 0; f < frames; ++f) {
    const int y = downwards ? f : height - f;
    view.screen.Put(scene, 0, y, scene.Width(), 1);
    view.screen.Show(scene, 0, y, scene.Width(), 1, 0, y);
    view.services.platform.clock.sleep(1);
  }
  return frames;
}

int ColumnWipe(Presentation& view, bool rightwards) {
  const core::Surface& scene = view.sceneSurface;
  const int width = scene.Width();
  const int frames = rightwards ? width : width + 1;
  for (int f = 0; f < frames; ++f) {
    const int x = rightwards ? f : width - f;
    view.screen.Put(scene, x, 0, 1, scene.Height());
    view.screen.Show(scene, x, 0, 1, scene.Height(), x, 0);
    view.services.platform.clock.sleep(1);
  }
  return frames;
}

int ColumnStrips(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  const int width = screen.Width(), height = screen.Height();
  int frames = 0;
  for (int off = 0; off < width; off += kStripPitch, ++frames) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      canvas.Copy(screen, off, 0, kStrip, height, off, 0);
      canvas.Copy(screen, width - off - kStrip, 0, kStrip, height, width - off - kStrip, 0);
    }
    frame.WaitUntil(7, WaitStyle::Spin);
  }
  return frames;
}

int RowStrips(Presentation& view) {
  const core::Surface& screen = view.screen.Surface();
  view.screen.PutAll(view.sceneSurface);
  const int width = screen.Width(), height = screen.Height();
  int frames = 0;
  for (int off = 0; off < height; off += kStripPitch, ++frames) {
    steps::FrameClock frame(view);
    {
      Screen::Canvas canvas(view.screen);
      canvas.Copy(screen, 0, off, width, kStrip, 0, off);
      canvas.Copy(screen, 0, height - off - kStrip, width, kStrip, 0, height - off - kStrip);
    }
    frame.WaitUntil(10, WaitStyle::Spin);
  }
  return frames;
}

}  // namespace qv::graphics
