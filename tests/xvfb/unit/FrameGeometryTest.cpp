// Tests for the frame's letterboxing and the pointer mapping back to frame coordinates.
#include "platform/sdl/FrameGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace qv::platform::sdl {
namespace {

using Point = std::pair<int, int>;
std::array<int, 4> Of(const PixelRect& r) {
  return {r.x, r.y, r.w, r.h};
}
Point Of(FramePoint p) {
  return {p.x, p.y};
}

TEST(FrameGeometryTest, WholeFactorWindowShowsTheFrameExactly) {
  const FrameGeometry geometry(640, 480, 1280, 960, 1280, 960);
  EXPECT_EQ(Of(geometry.View()), (std::array{0, 0, 1280, 960}));
  EXPECT_TRUE(geometry.WholeScale());
  EXPECT_EQ(geometry.UiScale(), 2);
  // Each frame pixel covers two window pixels; both map back to it.
  EXPECT_EQ(Of(geometry.WindowToFrame(1, 1)), Point(0, 0));
  EXPECT_EQ(Of(geometry.WindowToFrame(2, 3)), Point(1, 1));
  EXPECT_EQ(Of(geometry.WindowToFrame(1279, 959)), Point(639, 479));
}

TEST(FrameGeometryTest, WideScreenGetsBandsLeftAndRightThatFallOutsideTheFrame) {
  const FrameGeometry geometry(640, 480, 1920, 1080, 1920, 1080);
  EXPECT_EQ(Of(geometry.View()), (std::array{240, 0, 1440, 1080}));
  EXPECT_FALSE(geometry.WholeScale());
  EXPECT_EQ(geometry.UiScale(), 2);
  EXPECT_EQ(Of(geometry.WindowToFrame(240, 0)), Point(0, 0));
  EXPECT_EQ(Of(geometry.WindowToFrame(1679, 1079)), Point(639, 479));
  // Rounded down, so a position just left of the picture is -1, not 0.
  EXPECT_EQ(geometry.WindowToFrame(239, 500).x, -1);
  EXPECT_LT(geometry.WindowToFrame(0, 500).x, -100);
  EXPECT_GE(geometry.WindowToFrame(1700, 500).x, 640);
  for (int x : {0, 1, 100, 639}) {
    for (int y : {0, 7, 479}) {
      const FramePoint window = geometry.FrameToWindow(x, y);
      EXPECT_EQ(Of(geometry.WindowToFrame(window.x, window.y)), Point(x, y));
    }
  }
}

TEST(FrameGeometryTest, HighDensityOutputMapsPointerUnitsThroughTheRatio) {
  // The window is 640 x 480 pointer units, drawn on 1280 x 960 pixels.
  const FrameGeometry geometry(640, 480, 640, 480, 1280, 960);
  EXPECT_EQ(geometry.View().w, 1280);
  EXPECT_EQ(Of(geometry.WindowToFrame(320, 240)), Point(320, 240));
  EXPECT_EQ(Of(geometry.FrameToWindow(320, 240)), Point(320, 240));
}

TEST(ChooseScale, TheLargestWholeFactorThatFitsUnlessOneWasAsked) {
  struct Case {
    int requested, width, height;
    std::optional<PixelRect> usable;
    int expected;
  };
  const PixelRect fullHd{0, 0, 1920, 1050};  // a 30-pixel panel
  const Case cases[] = {
      {0, 800, 600, fullHd, 1},
      {0, 640, 480, fullHd, 2},
      {0, 640, 480, PixelRect{0, 0, 3840, 2100}, 4},
      {0, 320, 240, PixelRect{0, 0, 9000, 9000}, 8},
      {0, 800, 600, PixelRect{0, 0, 640, 480}, 1},
      {3, 640, 480, fullHd, 2},
      {2, 640, 480, fullHd, 2},
      {5, 640, 480, std::nullopt, 5},
      {0, 640, 480, std::nullopt, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseScale(c.requested, c.width, c.height, c.usable), c.expected)
        << c.requested << " " << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace qv::platform::sdl
