// Tests for the window's picture: row order, colour order, clipping and the staging hand-over.
#include "platform/sdl/FramePicture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace qv::platform::sdl {
namespace {

// Sets the pixel at drawing position (x, y) (top-down) in the bottom-up BGR picture.
void SetPixel(FramePicture& picture, int x, int y, uint8_t red, uint8_t green, uint8_t blue) {
  uint8_t* pixel =
      picture.Pixels() + (static_cast<size_t>(picture.Height() - 1 - y) * picture.Width() + x) * 3;
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
}

struct Taken {
  bool any = false;
  PixelRect rect;
  std::vector<uint32_t> pixels;  // the rectangle's pixels, row by row
};

Taken Take(FramePicture& picture) {
  Taken taken;
  taken.any = picture.TakeChanges([&](const PixelRect& rect, const uint32_t* first, int pitch) {
    taken.rect = rect;
    for (int row = 0; row < rect.h; ++row) {
      const auto* line = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(first) +
                                                           static_cast<size_t>(row) * pitch);
      taken.pixels.insert(taken.pixels.end(), line, line + rect.w);
    }
  });
  return taken;
}

TEST(FramePictureTest, PublishFlipsRowsAndReordersColours) {
  FramePicture picture(4, 3);
  Take(picture);
  SetPixel(picture, 0, 0, 0x11, 0x22, 0x33);  // top-left
  SetPixel(picture, 3, 2, 0xAA, 0xBB, 0xCC);  // bottom-right
  picture.Publish(0, 0, 4, 3);
  const Taken taken = Take(picture);
  ASSERT_EQ(taken.pixels.size(), 12u);
  EXPECT_EQ(taken.pixels[0] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(taken.pixels[11] & 0xFFFFFF, 0xAABBCCu);
  EXPECT_EQ(taken.pixels[5] & 0xFFFFFF, 0u);
}

TEST(FramePictureTest, OnlyThePublishedRectangleIsCopied) {
  FramePicture picture(4, 4);
  Take(picture);
  SetPixel(picture, 1, 1, 0xFF, 0, 0);
  SetPixel(picture, 3, 3, 0, 0xFF, 0);  // drawn but not published
  picture.Publish(1, 1, 1, 1);
  const Taken taken = Take(picture);
  EXPECT_EQ(taken.rect.x, 1);
  EXPECT_EQ(taken.rect.y, 1);
  EXPECT_EQ(taken.rect.w, 1);
  EXPECT_EQ(taken.rect.h, 1);
  ASSERT_EQ(taken.pixels.size(), 1u);
  EXPECT_EQ(taken.pixels[0] & 0xFFFFFF, 0xFF0000u);
  picture.Publish(0, 0, 4, 4);
  const Taken whole = Take(picture);
  EXPECT_EQ(whole.pixels[3 * 4 + 3] & 0xFFFFFF, 0x00FF00u);
}

TEST(FramePictureTest, RectanglesAreClippedToTheFrame) {
  FramePicture picture(4, 4);
  Take(picture);
  EXPECT_FALSE(picture.Publish(10, 10, 5, 5));  // wholly outside: nothing to show
  EXPECT_FALSE(picture.Publish(1, 1, 0, 3));
  EXPECT_FALSE(Take(picture).any);
  EXPECT_TRUE(picture.Publish(-2, 2, 100, 100));
  const Taken taken = Take(picture);
  EXPECT_EQ(taken.rect.x, 0);
  EXPECT_EQ(taken.rect.y, 2);
  EXPECT_EQ(taken.rect.w, 4);
  EXPECT_EQ(taken.rect.h, 2);
}

TEST(FramePictureTest, OnlyTheFirstPublishAfterATakeAsksForAWakeUp) {
  FramePicture picture(4, 4);
  Take(picture);
  EXPECT_TRUE(picture.Publish(0, 0, 1, 1));
  EXPECT_FALSE(picture.Publish(3, 3, 1, 1));
  const Taken taken = Take(picture);  // the union of both
  EXPECT_EQ(taken.rect.x, 0);
  EXPECT_EQ(taken.rect.y, 0);
  EXPECT_EQ(taken.rect.w, 4);
  EXPECT_EQ(taken.rect.h, 4);
  EXPECT_TRUE(picture.Publish(2, 2, 1, 1));
}

TEST(FramePictureTest, DrawingThreadAndWindowThreadCanWorkAtOnce) {
  // Run under ThreadSanitizer this shows that the window thread never reads what is being drawn.
  FramePicture picture(64, 48);
  std::atomic<bool> done{false};
  std::thread drawer([&] {
    for (int frame = 0; frame < 200; ++frame) {
      for (int y = 0; y < 48; ++y) SetPixel(picture, frame % 64, y, 0xFF, 0xFF, 0xFF);
      picture.Publish(frame % 64, 0, 1, 48);
    }
    done = true;
  });
  while (!done) Take(picture);
  drawer.join();
  Take(picture);
  picture.Publish(0, 0, 64, 48);
  const Taken last = Take(picture);
  for (uint32_t pixel : last.pixels) ASSERT_EQ(pixel & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace qv::platform::sdl
