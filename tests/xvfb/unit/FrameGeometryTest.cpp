// Tests for the frame's letterboxing and the pointer mapping back to frame coordinates.
#include "platform/sdl/FrameGeometry.h"

#include <gtest/gtest.h>

namespace qv::platform::sdl {
namespace {

TEST(FrameGeometryTest, WholeFactorWindowShowsTheFrameExactly) {
  const FrameGeometry geometry(640, 480, 1280, 960, 1280, 960);
  EXPECT_EQ(geometry.View().x, 0);
  EXPECT_EQ(geometry.View().y, 0);
  EXPECT_EQ(geometry.View().w, 1280);
  EXPECT_EQ(geometry.View().h, 960);
  EXPECT_TRUE(geometry.WholeScale());
  EXPECT_EQ(geometry.UiScale(), 2);
  // Each frame pixel covers two window pixels; both map back to it.
  EXPECT_EQ(geometry.WindowToFrame(0, 0).x, 0);
  EXPECT_EQ(geometry.WindowToFrame(1, 1).x, 0);
  EXPECT_EQ(geometry.WindowToFrame(2, 3).x, 1);
  EXPECT_EQ(geometry.WindowToFrame(2, 3).y, 1);
  EXPECT_EQ(geometry.WindowToFrame(1279, 959).x, 639);
  EXPECT_EQ(geometry.WindowToFrame(1279, 959).y, 479);
}

TEST(FrameGeometryTest, WideScreenGetsBandsLeftAndRight) {
  const FrameGeometry geometry(640, 480, 1920, 1080, 1920, 1080);
  EXPECT_EQ(geometry.View().w, 1440);
  EXPECT_EQ(geometry.View().h, 1080);
  EXPECT_EQ(geometry.View().x, 240);
  EXPECT_EQ(geometry.View().y, 0);
  EXPECT_FALSE(geometry.WholeScale());
  EXPECT_EQ(geometry.UiScale(), 2);
  EXPECT_EQ(geometry.WindowToFrame(240, 0).x, 0);
  EXPECT_EQ(geometry.WindowToFrame(1679, 1079).x, 639);
  EXPECT_EQ(geometry.WindowToFrame(1679, 1079).y, 479);
}

TEST(FrameGeometryTest, PositionsOnTheBandsFallOutsideTheFrame) {
  const FrameGeometry geometry(640, 480, 1920, 1080, 1920, 1080);
  // Rounded down, so a position just left of the picture is -1, not 0.
  EXPECT_EQ(geometry.WindowToFrame(239, 500).x, -1);
  EXPECT_LT(geometry.WindowToFrame(0, 500).x, -100);
  EXPECT_GE(geometry.WindowToFrame(1700, 500).x, 640);
}

TEST(FrameGeometryTest, HighDensityOutputMapsPointerUnitsThroughTheRatio) {
  // The window is 640 x 480 pointer units, drawn on 1280 x 960 pixels.
  const FrameGeometry geometry(640, 480, 640, 480, 1280, 960);
  EXPECT_EQ(geometry.View().w, 1280);
  EXPECT_EQ(geometry.WindowToFrame(320, 240).x, 320);
  EXPECT_EQ(geometry.WindowToFrame(320, 240).y, 240);
  EXPECT_EQ(geometry.FrameToWindow(320, 240).x, 320);
  EXPECT_EQ(geometry.FrameToWindow(320, 240).y, 240);
}

TEST(FrameGeometryTest, FrameToWindowInvertsTheMappingInsideTheView) {
  const FrameGeometry geometry(640, 480, 1920, 1080, 1920, 1080);
  for (int x : {0, 1, 100, 639}) {
    for (int y : {0, 7, 479}) {
      const FramePoint window = geometry.FrameToWindow(x, y);
      const FramePoint back = geometry.WindowToFrame(window.x, window.y);
      EXPECT_EQ(back.x, x) << x << "," << y;
      EXPECT_EQ(back.y, y) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace qv::platform::sdl
