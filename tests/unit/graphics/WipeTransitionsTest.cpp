// Frame by frame: blinds, diagonal tiles, the ragged wipe, row and column wipes and the strips,
// with the times their frames reach the window.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "graphics/Transitions.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Source;
using test::TransitionRig;

// Checks each presented frame against `expected(f, x, y)`, f counting the presented frames from
// 0, or, given a frame period, the frames by their start time.
template <typename Expected>
void CheckFrames(TransitionRig& rig, Expected expected, int periodMs = 0) {
  rig.window.onPresent = [&rig, expected, periodMs] {
    const int frame = periodMs ? static_cast<int>(rig.fakes.clock.nowMs() / periodMs)
                               : static_cast<int>(rig.window.frames.size()) - 1;
    EXPECT_EQ(rig.WindowMismatches([&](int x, int y) { return expected(frame, x, y); }), 0)
        << "presented frame " << frame;
  };
}

TEST(Blinds, VerticalBandsGrowFromTheirLeftEdges) {
  TransitionRig rig(44, 6);
  // Frame 0 is empty, so presented frame f is frame s = f + 1.
  CheckFrames(rig, [](int f, int x, int) { return x % 10 <= f ? Source::New : Source::Old; });
  EXPECT_EQ(VerticalBlinds(rig.engine), 11);
  EXPECT_EQ(rig.PresentTimes(),
            (std::vector<uint64_t>{30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
  EXPECT_EQ(rig.fakes.clock.nowMs(), 330u);
}

TEST(Blinds, HorizontalBandsLeaveRowsBelowTheLastWholeBandToARepaint) {
  TransitionRig rig(8, 485);
  CheckFrames(rig,
              [](int f, int, int y) { return y < 480 && y % 10 <= f ? Source::New : Source::Old; });
  EXPECT_EQ(HorizontalBlinds(rig.engine), 11);
  EXPECT_EQ(rig.window.frames.size(), 10u);
  EXPECT_TRUE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));
}

// Tile (column c, row r) appears in frame c + r, one frame later from row 11 on.
int TileFrame(int x, int y) {
  return x / 20 + y / 20 + (y / 20 >= 11 ? 1 : 0);
}

TEST(DiagonalTiles, FollowTheDiagonalWithItsStepAtRow11AndCoverEveryTileRow) {
  // 640 x 480, and a taller frame of 31 tile rows, the last one 10 rows high.
  for (const auto& [width, height, frames] : {std::tuple{640, 480, 56}, {60, 610, 3 + 31}}) {
    SCOPED_TRACE(height);
    TransitionRig rig(width, height);
    CheckFrames(
        rig, [](int f, int x, int y) { return TileFrame(x, y) <= f ? Source::New : Source::Old; });
    EXPECT_EQ(DiagonalTiles(rig.engine), frames);
    EXPECT_EQ(rig.window.frames.size(), static_cast<size_t>(frames));
    EXPECT_EQ(rig.fakes.clock.nowMs(), frames * 20u);
  }
}

TEST(RaggedWipe, EachRowTrailsTheFrontByItsRandomOffset) {
  TransitionRig rig(40, 6);
  rig.engine.randomState = 12345;
  // The offsets are the script generator's next values (rand() of the C library), AND 31.
  uint32_t state = 12345;
  std::vector<int> offsets;
  for (int y = 0; y < 6; ++y) {
    state = state * 214013u + 2531011u;
    offsets.push_back(static_cast<int>((state >> 16) & 0x7FFF & 31));
  }
  // Frames whose strips all lie outside the picture present nothing; the last present, at 80 ms,
  // is the closing copy of the whole frame.
  CheckFrames(
      rig,
      [&](int f, int x, int y) { return x < 5 * f + offsets[y] - 27 ? Source::New : Source::Old; },
      2);
  EXPECT_EQ(RaggedWipe(rig.engine), 40);
  EXPECT_EQ(rig.engine.randomState, state);
  EXPECT_EQ(rig.PresentTimes().back(), 80u);
}

TEST(RowAndColumnWipes, CopyOneLineAFrameWithAMillisecondBetween) {
  {
    TransitionRig rig(8, 480);
    CheckFrames(rig, [](int f, int, int y) { return y >= 479 - f ? Source::New : Source::Old; });
    EXPECT_EQ(RowWipe(rig.engine, false), 481);  // the first frame, row 480, shows nothing
    EXPECT_EQ(rig.window.frames.size(), 480u);
    EXPECT_EQ(rig.window.frames[0].time, 1u);
    EXPECT_EQ(rig.fakes.clock.nowMs(), 481u);
  }
  for (bool forwards : {true, false}) {
    TransitionRig rows(12, 4), columns(12, 4);
    CheckFrames(rows, [=](int f, int, int y) { return y <= f ? Source::New : Source::Old; });
    CheckFrames(columns, [=](int f, int x, int) {
      return (forwards ? x <= f : x >= 11 - f) ? Source::New : Source::Old;
    });
    if (forwards) {
      EXPECT_EQ(RowWipe(rows.engine, true), 4);
    }
    EXPECT_EQ(ColumnWipe(columns.engine, forwards), forwards ? 12 : 13);
    EXPECT_EQ(columns.fakes.clock.nowMs(), forwards ? 12u : 13u);
  }
}

TEST(Strips, SweepFromBothSidesAndMeetOnlyWhenTheSizeIsAMultipleOf10) {
  TransitionRig rig(44, 4);
  EXPECT_EQ(ColumnStrips(rig.engine), 5);
  EXPECT_EQ(rig.PresentTimes(), (std::vector<uint64_t>{0, 7, 14, 21, 28}));
  // Strips at 0, 10, 20, 30, 40 and, from the right, at 39, 29, 19, 9 and -1.
  EXPECT_EQ(rig.WindowMismatches(
                [](int x, int) { return x % 10 < 5 || x % 10 == 9 ? Source::New : Source::Old; }),
            0);
  EXPECT_TRUE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));

  TransitionRig rows(4, 30);
  EXPECT_EQ(RowStrips(rows.engine), 3);
  EXPECT_EQ(rows.WindowMismatches(Source::New), 0);
  EXPECT_EQ(rows.fakes.clock.nowMs(), 30u);
}

}  // namespace
}  // namespace qv::graphics
