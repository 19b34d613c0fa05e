// Frame by frame: the ordered dissolve's cell order, the cross-fade's shares and step counts, the
// mask transition's levels with in-place blending, and their pacing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics/Transitions.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Source;
using test::TransitionRig;

TEST(OrderedDissolve, VisitsEachCellOfTheGridOnceInItsOrder) {
  // (stored row, column) of the cell each frame reveals.
  const int order[16][2] = {{0, 3}, {0, 2}, {0, 1}, {0, 0}, {2, 0}, {2, 3}, {2, 2}, {2, 1},
                            {3, 1}, {3, 0}, {3, 3}, {3, 2}, {1, 2}, {1, 1}, {1, 0}, {1, 3}};
  auto frameOf = [&](int storedRow, int column) {
    for (int f = 0; f < 16; ++f) {
      if (order[f][0] == storedRow % 4 && order[f][1] == column % 4) return f;
    }
    return -1;
  };
  TransitionRig rig(8, 6);  // 6 rows: the last two stored rows are not a whole cell row
  int f = 0;
  rig.window.onPresent = [&] {
    EXPECT_EQ(rig.WindowMismatches(
                  [&](int x, int y) { return frameOf(5 - y, x) <= f ? Source::New : Source::Old; }),
              0)
        << "frame " << f;
    EXPECT_TRUE(rig.WindowEqualsScreen());
    ++f;
  };
  EXPECT_EQ(OrderedDissolve(rig.engine), 16);
  EXPECT_EQ(rig.window.frames.size(), 16u);
  EXPECT_EQ(rig.window.frames[15].time, 600u);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 640u);
  EXPECT_TRUE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));
}

// screenSurface and the window all `before`, sceneSurface all `after`.
void Fill(TransitionRig& rig, uint8_t before, uint8_t after) {
  auto& g = rig.engine.graphics;
  std::memset(g.screenSurface.Data(), before, g.screenSurface.SizeBytes());
  std::memset(rig.window.picture.data(), before, rig.window.picture.size());
  std::memset(g.sceneSurface.Data(), after, g.sceneSurface.SizeBytes());
}

struct FadeCase {
  int steps;
  std::vector<int> frames;  // the window's bytes, old 0 and new 255
};

TEST(CrossFade, SharesAreWholeStepsOf256DividedByTheStepCount) {
  const std::vector<int> fromOldToNew = {0, 255};
  const FadeCase cases[] = {{1, fromOldToNew},
                            {0, fromOldToNew},  // no step count below 1
                            {-5, fromOldToNew},
                            {3, {0, 84, 169, 254}},            // a = 0, 85, 170, 255: 254 stays
                            {300, std::vector<int>(301, 0)}};  // a is always 0
  for (const FadeCase& c : cases) {
    SCOPED_TRACE(c.steps);
    TransitionRig rig(8, 2);
    Fill(rig, 0, 255);
    std::vector<int> seen;
    rig.window.onPresent = [&] {
      const auto& p = rig.window.picture;
      seen.push_back(p[0]);
      EXPECT_EQ(std::count(p.begin(), p.end(), p[0]), static_cast<long>(p.size()));
    };
    EXPECT_EQ(CrossFade(rig.engine, c.steps), static_cast<int>(c.frames.size()));
    EXPECT_EQ(seen, c.frames);
    // screenSurface and workPixels keep the last frame.
    EXPECT_EQ(rig.engine.graphics.screenSurface.Data()[5], c.frames.back());
    EXPECT_EQ(rig.engine.graphics.workPixels.Data()[5], c.frames.back());
  }
}

TEST(CrossFade, MixesEveryByteAndShowsEachFrameForOneDisplayRefresh) {
  TransitionRig rig(8, 2);
  Fill(rig, 200, 10);
  std::vector<int> seen;
  rig.window.onPresent = [&] { seen.push_back(rig.window.picture.back()); };
  rig.engine.alphaDepth = 4;
  rig.engine.effectNumber = 8;
  PresentScene(rig.engine);
  // (200 * (256 - a) + 10 * a) >> 8 for a = 0, 64, 128, 192, 256, at refreshes floor(k * 1000 /
  // 60).
  EXPECT_EQ(seen, (std::vector<int>{200, 152, 105, 57, 10}));
  EXPECT_EQ(rig.PresentTimes(), (std::vector<uint64_t>{0, 16, 33, 50, 66}));
  EXPECT_EQ(rig.fakes.clock.nowMs(), 83u);
}

// A mask of `width` x `height` indices whose table gives index i the share red[i].
MaskPicture Mask(int width, int height, std::vector<uint8_t> indices, bool identityTable) {
  MaskPicture mask;
  mask.width = width;
  mask.height = height;
  mask.indices = std::move(indices);
  for (int i = 0; i < 256; ++i) mask.red[i] = identityTable ? static_cast<uint8_t>(i) : 0;
  return mask;
}

// The frame at which each window pixel first leaves the old value 0 (stored order).
std::vector<int> FirstMoves(TransitionRig& rig, const MaskPicture& mask) {
  Fill(rig, 0, 255);
  std::vector<int> moved(rig.window.picture.size() / 3, -1);
  int f = 0;
  rig.window.onPresent = [&] {
    for (size_t p = 0; p < moved.size(); ++p) {
      if (moved[p] < 0 && rig.window.picture[3 * p] != 0) moved[p] = f;
    }
    ++f;
  };
  EXPECT_EQ(MaskTransition(rig.engine, mask), 33);
  return moved;
}

TEST(MaskTransition, LightEntriesMoveFirstAndEveryPixelArrivesWithinRounding) {
  TransitionRig rig(4, 1);
  // Shares 255, 128, 0 and 17: moving starts once the level (-256, -240, ... 256) passes -share.
  EXPECT_EQ(FirstMoves(rig, Mask(4, 1, {255, 128, 0, 17}, true)), (std::vector<int>{1, 9, 17, 16}));
  for (uint8_t byte : rig.window.picture) EXPECT_GE(byte, 254);
  EXPECT_TRUE(rig.WindowEqualsScreen());
  EXPECT_EQ(rig.window.frames[32].time, 640u);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 660u);
}

TEST(MaskTransition, ATableOfBlackRevealsEvenlyFromLevelZero) {
  TransitionRig rig(8, 2);
  Fill(rig, 0, 255);
  std::vector<int> seen;
  rig.window.onPresent = [&] {
    const auto& p = rig.window.picture;
    seen.push_back(p[0]);
    EXPECT_EQ(std::count(p.begin(), p.end(), p[0]), static_cast<long>(p.size()));
  };
  std::vector<uint8_t> indices(16);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 37);
  MaskTransition(rig.engine, Mask(8, 2, indices, false));
  // v = 0 up to level 0, then 16, 32, ...: 255 * 16 >> 8 = 15, then (255 * 32 + 15 * 224) >> 8.
  EXPECT_EQ(std::vector<int>(seen.begin() + 15, seen.begin() + 19),
            (std::vector<int>{0, 0, 15, 45}));
}

TEST(MaskTransition, TheMaskKeepsItsOwnRowLengthAndPixelsBeyondItCountAsBlack) {
  TransitionRig rig(8, 2);
  // 12 indices a row: stored row 1 (the top row) is white over the frame's 8 columns.
  std::vector<uint8_t> indices(24, 0);
  for (int c = 0; c < 8; ++c) indices[12 + c] = 255;
  const auto moved = FirstMoves(rig, Mask(12, 2, indices, true));
  EXPECT_EQ(moved, (std::vector<int>{17, 17, 17, 17, 17, 17, 17, 17, 1, 1, 1, 1, 1, 1, 1, 1}));

  TransitionRig small(8, 2);
  const auto partly = FirstMoves(small, Mask(2, 1, {255, 255}, true));
  EXPECT_EQ(partly,
            (std::vector<int>{1, 1, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17}));
}

}  // namespace
}  // namespace qv::graphics
