// Every transition's frame count, final picture and log line; then each family frame by frame,
// with its timing and edges (partial bands and cells, strips outside the picture, odd masks).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "graphics/PictureFile.h"
#include "graphics/Transitions.h"
#include "platform/StopSignal.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Origin;
using test::Source;
using test::TransitionRig;
using Times = std::vector<uint64_t>;

std::string LogLine(int number, int frames) {
  return "transition " + std::to_string(number) + " " + std::to_string(frames);
}

TEST(PresentScene, EveryTransitionEndsOnTheNewPictureCoveringTheWholeFrameAtBothSizes) {
  // {number, frames at 640 x 480, at 800 x 600}: the larger frame widens the 640 x 480 sizes
  // (tile rows, sweep and push distances, the mask's own rows).
  constexpr int kTransitions[][3] = {{1, 1, 1},      {2, 11, 11},    {3, 11, 11},    {4, 16, 16},
                                     {5, 10, 10},    {6, 56, 70},    {7, 160, 192},  {8, 65, 65},
                                     {11, 60, 75},   {12, 60, 75},   {13, 64, 80},   {14, 64, 80},
                                     {15, 480, 600}, {16, 481, 601}, {17, 640, 800}, {18, 641, 801},
                                     {19, 64, 80},   {20, 48, 60},   {21, 33, 33}};
  for (const auto& [width, height] : {std::pair{640, 480}, std::pair{800, 600}}) {
    for (const auto& [number, frames640, frames800] : kTransitions) {
      SCOPED_TRACE(LogLine(number, width));
      TransitionRig rig(width, height);
      // A grey mask of the frame's size (index = grey = share), in diagonal bands.
      std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
      for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<uint8_t>(i % width + i / width);
      const auto mask = EncodeMask(width, height, indices);
      const Transition transition{number, 64, "C:\\game\\cg\\mask.bmp"};
      rig.fakes.files.Put(transition.maskFileName, std::string(mask.begin(), mask.end()));
      EXPECT_EQ(PresentScene(rig.engine.view, transition), 1);
      EXPECT_EQ(rig.fakes.log.lines.back(), LogLine(number, width == 640 ? frames640 : frames800));
      EXPECT_EQ(rig.engine.input.inputBusy, 0);
      if (number == 21) {  // in-place blending ends within rounding of the new picture
        const auto &screen = rig.engine.view.screen.Surface(),
                   &scene = rig.engine.view.sceneSurface;
        for (size_t k = 0; k < screen.SizeBytes(); ++k)
          ASSERT_LE(std::abs(screen.Data()[k] - scene.Data()[k]), 1) << k;
        EXPECT_TRUE(rig.WindowEqualsScreen());
      } else {
        EXPECT_TRUE(rig.ScreenShowsScene());
        EXPECT_EQ(rig.WindowMismatches(Source::New), 0);
      }
    }
  }
}

TEST(PresentScene, ScreenEffectsOffCutsAndUnlistedNumbersOrAMissingMaskDrawNothing) {
  // {screen effects, number, result, frames presented}
  const std::tuple<int, int, int, size_t> cases[] = {
      {0, 2, 1, 1},  {0, 8, 1, 1},  {0, 9, 1, 1},  {0, 21, 1, 1},
      {0, -4, 1, 1}, {0, 0, 1, 0},  {1, 0, 1, 0},  {1, 9, 0, 0},
      {1, 10, 0, 0}, {1, 22, 0, 0}, {1, -1, 0, 0}, {1, 21, 1, 0}};  // its mask file is missing
  for (const auto& [effects, number, result, frames] : cases) {
    SCOPED_TRACE(std::to_string(effects) + " " + std::to_string(number));
    TransitionRig rig(16, 8);
    rig.engine.services.env.screenEffects = effects;
    EXPECT_EQ(PresentScene(rig.engine.view, {number, 64, "C:\\game\\cg\\none.bmp"}), result);
    EXPECT_EQ(rig.window.frames.size(), frames);
    EXPECT_EQ(rig.WindowMismatches(frames ? Source::New : Source::Old), 0);
    EXPECT_EQ(rig.ScreenShowsScene(), frames > 0);
    EXPECT_EQ(rig.fakes.clock.nowMs(), 0u);
    EXPECT_EQ(rig.engine.input.inputBusy, 0);
    EXPECT_EQ(rig.fakes.log.lines.back(), LogLine(number, static_cast<int>(frames)));
    const bool maskMissed = effects && number == 21;
    ASSERT_EQ(rig.fakes.ui.boxes.size(), maskMissed ? 1u : 0u);
    for (const auto& box : rig.fakes.ui.boxes) EXPECT_EQ(box.text, "loss parts");
  }
}

TEST(PresentScene, InputIsBusyWhileDrawingAndFreeOnEveryWayOut) {
  TransitionRig rig(16, 8);
  const Transition blinds{2, 64, ""};
  std::vector<int> busy;
  rig.window.onPresent = [&] { busy.push_back(rig.engine.input.inputBusy); };
  PresentScene(rig.engine.view, blinds);
  EXPECT_EQ(busy, std::vector<int>(10, 1));
  EXPECT_EQ(rig.engine.input.inputBusy, 0);
  // Closing interrupts the transition at its first wait.
  rig.fakes.clock.requestStop();
  bool stopped = false;
  std::thread interpreter([&] {
    platform::Clock::MarkThreadInterruptible();
    try {
      PresentScene(rig.engine.view, blinds);
    } catch (const platform::StopSignal&) {
      stopped = true;
    }
  });
  interpreter.join();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(rig.engine.input.inputBusy, 0);
}

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

// The window all `before` and sceneSurface all `after`; `seen` gets the first byte of each
// presented frame, checked to be every byte of it.
void EvenFrames(TransitionRig& rig, uint8_t before, uint8_t after, std::vector<int>& seen) {
  auto& g = rig.engine.view;
  g.screen.Locked(
      [&](core::Surface& shown) { std::memset(shown.Data(), before, shown.SizeBytes()); });
  std::memset(rig.window.picture.data(), before, rig.window.picture.size());
  std::memset(g.sceneSurface.Data(), after, g.sceneSurface.SizeBytes());
  rig.window.onPresent = [&rig, &seen] {
    const auto& p = rig.window.picture;
    seen.push_back(p[0]);
    EXPECT_EQ(std::count(p.begin(), p.end(), p[0]), static_cast<long>(p.size()));
  };
}

TEST(Blinds, BandsGrowFromTheirEdgesAndRowsBelowTheLastWholeBandWaitForARepaint) {
  TransitionRig columns(44, 6), rows(8, 485);
  // Frame 0 is empty, so presented frame f is frame s = f + 1.
  CheckFrames(columns, [](int f, int x, int) { return x % 10 <= f ? Source::New : Source::Old; });
  CheckFrames(rows,
              [](int f, int, int y) { return y < 480 && y % 10 <= f ? Source::New : Source::Old; });
  EXPECT_EQ(VerticalBlinds(columns.engine.view), 11);
  EXPECT_EQ(columns.PresentTimes(), (Times{30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
  EXPECT_EQ(columns.fakes.clock.nowMs(), 330u);
  EXPECT_EQ(HorizontalBlinds(rows.engine.view), 11);
  EXPECT_EQ(rows.window.frames.size(), 10u);
  EXPECT_TRUE(rows.ScreenShowsScene());
}

TEST(DiagonalTiles, FollowTheDiagonalWithItsStepAtRow11AndCoverEveryTileRow) {
  // Tile (column c, row r) appears in frame c + r, one frame later from row 11 on. 640 x 480,
  // and a taller frame of 31 tile rows, the last one 10 rows high.
  for (const auto& [width, height, frames] : {std::tuple{640, 480, 56}, {60, 610, 3 + 31}}) {
    SCOPED_TRACE(height);
    TransitionRig rig(width, height);
    CheckFrames(rig, [](int f, int x, int y) {
      return x / 20 + y / 20 + (y / 20 >= 11) <= f ? Source::New : Source::Old;
    });
    EXPECT_EQ(DiagonalTiles(rig.engine.view), frames);
    EXPECT_EQ(rig.window.frames.size(), static_cast<size_t>(frames));
    EXPECT_EQ(rig.fakes.clock.nowMs(), frames * 20u);
  }
}

TEST(RaggedWipe, EachRowTrailsTheFrontByItsRandomOffset) {
  TransitionRig rig(40, 6);
  rig.engine.script.randomState = 12345;
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
  EXPECT_EQ(RaggedWipe(rig.engine.view), 40);
  EXPECT_EQ(rig.engine.script.randomState, state);
  EXPECT_EQ(rig.PresentTimes().back(), 80u);
}

TEST(RowAndColumnWipes, CopyOneLineAFrameWithAMillisecondBetween) {
  TransitionRig up(8, 480);
  CheckFrames(up, [](int f, int, int y) { return y >= 479 - f ? Source::New : Source::Old; });
  EXPECT_EQ(RowWipe(up.engine.view, false), 481);  // the first frame, row 480, shows nothing
  EXPECT_EQ(up.window.frames.size(), 480u);
  EXPECT_EQ(up.window.frames[0].time, 1u);
  EXPECT_EQ(up.fakes.clock.nowMs(), 481u);
  TransitionRig down(12, 4);
  CheckFrames(down, [=](int f, int, int y) { return y <= f ? Source::New : Source::Old; });
  EXPECT_EQ(RowWipe(down.engine.view, true), 4);
  for (bool forwards : {true, false}) {
    TransitionRig columns(12, 4);
    CheckFrames(columns, [=](int f, int x, int) {
      return (forwards ? x <= f : x >= 11 - f) ? Source::New : Source::Old;
    });
    EXPECT_EQ(ColumnWipe(columns.engine.view, forwards), forwards ? 12 : 13);
    EXPECT_EQ(columns.fakes.clock.nowMs(), forwards ? 12u : 13u);
  }
}

TEST(Strips, SweepFromBothSidesAndMeetOnlyWhenTheSizeIsAMultipleOf10) {
  TransitionRig rig(44, 4);
  EXPECT_EQ(ColumnStrips(rig.engine.view), 5);
  EXPECT_EQ(rig.PresentTimes(), (Times{0, 7, 14, 21, 28}));
  // Strips at 0, 10, 20, 30, 40 and, from the right, at 39, 29, 19, 9 and -1.
  EXPECT_EQ(rig.WindowMismatches(
                [](int x, int) { return x % 10 < 5 || x % 10 == 9 ? Source::New : Source::Old; }),
            0);
  EXPECT_TRUE(rig.ScreenShowsScene());
  TransitionRig rows(4, 30);
  EXPECT_EQ(RowStrips(rows.engine.view), 3);
  EXPECT_EQ(rows.WindowMismatches(Source::New), 0);
  EXPECT_EQ(rows.fakes.clock.nowMs(), 30u);
}

TEST(HorizontalZoom, StretchesACentredStripThatWidens64ColumnsAFrame) {
  TransitionRig rig(640, 2);
  // Frame 0: columns 288 to 351 show every tenth column of the new picture.
  rig.window.onPresent = [&] {
    if (rig.window.frames.size() > 1) return;
    EXPECT_EQ(rig.WindowMismatches([](int x, int y) {
      return x >= 288 && x < 352 ? Origin{Source::New, (x - 288) * 10, y}
                                 : Origin{Source::Old, x, y};
    }),
              0);
  };
  EXPECT_EQ(HorizontalZoom(rig.engine.view), 10);
  EXPECT_EQ(rig.PresentTimes(), (Times{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(rig.window.frames[9].w, 640);
  // On a narrow frame the strip's width 320 - 640 + 64s is 0 or less up to s = 5: no frame.
  TransitionRig narrow(320, 2);
  EXPECT_EQ(HorizontalZoom(narrow.engine.view), 10);
  ASSERT_EQ(narrow.window.frames.size(), 6u);
  const auto& first = narrow.window.frames[0];
  EXPECT_EQ((std::tuple{first.time, first.x, first.w}), (std::tuple{50u, 128, 64}));
}

TEST(Push, MovesBothPicturesAFixedStepEachDisplayRefresh) {
  // The old picture moves by `step` a frame along the axis, the new one following it in.
  const std::tuple<PushDirection, int, int, int, int> cases[] = {
      {PushDirection::Up, 4, 36, 5, 8},
      {PushDirection::Down, 4, 36, 5, -8},
      {PushDirection::Left, 40, 2, 4, 10},
      {PushDirection::Right, 44, 2, 5, -10}};
  for (const auto& [direction, width, height, frames, step] : cases) {
    SCOPED_TRACE(static_cast<int>(direction));
    TransitionRig rig(width, height);
    const bool vertical = direction == PushDirection::Up || direction == PushDirection::Down;
    const int n = vertical ? height : width;
    CheckFrames(rig, [=](int f, int x, int y) {
      if (f >= frames) return Origin{Source::New, x, y};  // the closing copy
      const int at = (vertical ? y : x) + step * f, from = (at + n) % n;
      const Source source = at >= 0 && at < n ? Source::Old : Source::New;
      return vertical ? Origin{source, x, from} : Origin{source, from, y};
    });
    EXPECT_EQ(Push(rig.engine.view, direction), frames);
    // One display refresh a frame, and the closing copy.
    const Times refreshes = {0, 16, 33, 50, 66, 83};
    EXPECT_EQ(rig.PresentTimes(), Times(refreshes.begin(), refreshes.begin() + frames + 1));
  }
}

TEST(OrderedDissolve, VisitsEachCellOfTheGridOnceInItsOrder) {
  // The frame that reveals the cell at (stored row, column), both taken modulo 4.
  constexpr int kFrameOf[4][4] = {{3, 2, 1, 0}, {14, 13, 12, 15}, {4, 7, 6, 5}, {9, 8, 11, 10}};
  TransitionRig rig(8, 6);  // 6 rows: the last two stored rows are not a whole cell row
  CheckFrames(rig, [&](int f, int x, int y) {
    return kFrameOf[(5 - y) % 4][x % 4] <= f ? Source::New : Source::Old;
  });
  auto check = rig.window.onPresent;
  rig.window.onPresent = [&] {
    check();
    EXPECT_TRUE(rig.WindowEqualsScreen());
  };
  EXPECT_EQ(OrderedDissolve(rig.engine.view), 16);
  EXPECT_EQ(rig.window.frames[15].time, 600u);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 640u);
}

TEST(CrossFade, SharesAreWholeStepsOf256DividedByTheStepCount) {
  const std::vector<int> fromOldToNew = {0, 255};
  const std::pair<int, std::vector<int>> cases[] = {
      {1, fromOldToNew},
      {0, fromOldToNew},  // no step count below 1
      {-5, fromOldToNew},
      {3, {0, 84, 169, 254}},           // a = 0, 85, 170, 255: 254 stays
      {300, std::vector<int>(258, 0)},  // a is always 0: no more frames than for 257 steps
      {100000, std::vector<int>(258, 0)}};
  for (const auto& [steps, frames] : cases) {
    SCOPED_TRACE(steps);
    TransitionRig rig(8, 2);
    std::vector<int> seen;
    EvenFrames(rig, 0, 255, seen);
    EXPECT_EQ(CrossFade(rig.engine.view, steps), static_cast<int>(frames.size()));
    EXPECT_EQ(seen, frames);
    // The screen and workPixels keep the last frame.
    EXPECT_EQ(rig.engine.view.screen.Surface().Data()[5], frames.back());
    EXPECT_EQ(rig.engine.view.workPixels.Data()[5], frames.back());
  }
  // Through PresentScene: every byte mixed, each frame shown for one display refresh. (200 * (256
  // - a) + 10 * a) >> 8 for a = 0, 64, 128, 192, 256, at refreshes floor(k * 1000 / 60).
  TransitionRig rig(8, 2);
  std::vector<int> seen;
  EvenFrames(rig, 200, 10, seen);
  PresentScene(rig.engine.view, {8, 4, ""});
  EXPECT_EQ(seen, (std::vector<int>{200, 152, 105, 57, 10}));
  EXPECT_EQ(rig.PresentTimes(), (Times{0, 16, 33, 50, 66}));
  EXPECT_EQ(rig.fakes.clock.nowMs(), 83u);
}

// A mask of `width` x `height` indices whose table gives index i the share i, or 0 for all.
MaskPicture Mask(int width, int height, std::vector<uint8_t> indices, bool identityTable = true) {
  MaskPicture mask{};
  mask.width = width;
  mask.height = height;
  mask.indices = std::move(indices);
  for (int i = 0; i < 256; ++i) mask.red[i] = identityTable ? static_cast<uint8_t>(i) : 0;
  return mask;
}

// The frame at which each window pixel first leaves the old value 0 (stored order).
std::vector<int> FirstMoves(TransitionRig& rig, const MaskPicture& mask) {
  std::vector<int> seen, moved(rig.window.picture.size() / 3, -1);
  EvenFrames(rig, 0, 255, seen);  // for its fill: these frames are not even
  int f = 0;
  rig.window.onPresent = [&] {
    for (size_t p = 0; p < moved.size(); ++p)
      if (moved[p] < 0 && rig.window.picture[3 * p] != 0) moved[p] = f;
    ++f;
  };
  EXPECT_EQ(MaskTransition(rig.engine.view, mask), 33);
  return moved;
}

TEST(MaskTransition, LightEntriesMoveFirstAndEveryPixelArrivesWithinRounding) {
  TransitionRig rig(4, 1);
  // Shares 255, 128, 0 and 17: moving starts once the level (-256, -240, ... 256) passes -share.
  EXPECT_EQ(FirstMoves(rig, Mask(4, 1, {255, 128, 0, 17})), (std::vector<int>{1, 9, 17, 16}));
  for (uint8_t byte : rig.window.picture) EXPECT_GE(byte, 254);
  EXPECT_TRUE(rig.WindowEqualsScreen());
  EXPECT_EQ(rig.window.frames[32].time, 640u);
  EXPECT_EQ(rig.fakes.clock.nowMs(), 660u);

  // A table of black reveals evenly from level 0: v = 0 up to level 0, then 16, 32, ...:
  // 255 * 16 >> 8 = 15, then (255 * 32 + 15 * 224) >> 8.
  TransitionRig black(8, 2);
  std::vector<int> seen;
  EvenFrames(black, 0, 255, seen);
  std::vector<uint8_t> indices(16);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 37);
  MaskTransition(black.engine.view, Mask(8, 2, indices, false));
  EXPECT_EQ(std::vector<int>(seen.begin() + 15, seen.begin() + 19),
            (std::vector<int>{0, 0, 15, 45}));
}

TEST(MaskTransition, TheMaskKeepsItsOwnRowLengthAndPixelsBeyondItCountAsBlack) {
  TransitionRig rig(8, 2);
  // 12 indices a row: stored row 1 (the top row) is white over the frame's 8 columns.
  std::vector<uint8_t> indices(24, 0);
  std::fill_n(indices.begin() + 12, 8, 255);
  std::vector<int> expected(16, 17);
  std::fill_n(expected.begin() + 8, 8, 1);
  EXPECT_EQ(FirstMoves(rig, Mask(12, 2, indices)), expected);
  TransitionRig small(8, 2);
  expected.assign(16, 17);
  expected[0] = expected[1] = 1;
  EXPECT_EQ(FirstMoves(small, Mask(2, 1, {255, 255})), expected);
}

}  // namespace
}  // namespace qv::graphics
