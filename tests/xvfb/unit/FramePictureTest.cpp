// Tests for the window's picture: row order, colour order, clipping and the staging hand-over.
#include "platform/sdl/FramePicture.h"

#include <gtest/gtest.h>

#include <array>
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
  std::array<int, 4> rect{};     // x, y, w, h
  std::vector<uint32_t> pixels;  // the rectangle's pixels, row by row, as 0xRRGGBB
};
Taken Take(FramePicture& picture) {
  Taken taken;
  taken.any = picture.TakeChanges([&](const PixelRect& rect, const uint32_t* first, int pitch) {
    taken.rect = {rect.x, rect.y, rect.w, rect.h};
    for (int row = 0; row < rect.h; ++row, first += pitch / 4) {
      for (int x = 0; x < rect.w; ++x) taken.pixels.push_back(first[x] & 0xFFFFFF);
    }
  });
  return taken;
}

TEST(FramePictureTest, PublishCopiesOnlyItsRectangleFlippedAndInRgbOrder) {
  FramePicture picture(4, 3);
  Take(picture);
  SetPixel(picture, 0, 0, 0x11, 0x22, 0x33);  // top-left
  SetPixel(picture, 3, 2, 0xAA, 0xBB, 0xCC);  // bottom-right
  SetPixel(picture, 1, 1, 0xFF, 0, 0);
  picture.Publish(1, 1, 1, 1);
  const Taken taken = Take(picture);
  EXPECT_EQ(taken.rect, (std::array{1, 1, 1, 1}));
  EXPECT_EQ(taken.pixels, std::vector<uint32_t>{0xFF0000});
  picture.Publish(0, 0, 4, 3);
  const Taken whole = Take(picture);
  ASSERT_EQ(whole.pixels.size(), 12u);
  EXPECT_EQ(whole.pixels[0], 0x112233u);
  EXPECT_EQ(whole.pixels[5], 0xFF0000u);
  EXPECT_EQ(whole.pixels[6], 0u);
  EXPECT_EQ(whole.pixels[11], 0xAABBCCu);
}

TEST(FramePictureTest, RectanglesAreClippedAndOnlyTheFirstPublishAfterATakeWakes) {
  FramePicture picture(4, 4);
  Take(picture);
  EXPECT_FALSE(picture.Publish(10, 10, 5, 5));  // wholly outside: nothing to show
  EXPECT_FALSE(picture.Publish(1, 1, 0, 3));
  EXPECT_FALSE(Take(picture).any);
  EXPECT_TRUE(picture.Publish(-2, 2, 100, 100));
  EXPECT_EQ(Take(picture).rect, (std::array{0, 2, 4, 2}));
  EXPECT_TRUE(picture.Publish(0, 0, 1, 1));
  EXPECT_FALSE(picture.Publish(3, 3, 1, 1));
  EXPECT_EQ(Take(picture).rect, (std::array{0, 0, 4, 4}));  // the union of both
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
  picture.Publish(0, 0, 64, 48);
  EXPECT_EQ(Take(picture).pixels, std::vector<uint32_t>(64 * 48, 0xFFFFFF));
}

}  // namespace
}  // namespace qv::platform::sdl
