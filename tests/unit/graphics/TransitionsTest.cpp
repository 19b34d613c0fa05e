// Every transition's frame count, final picture and log line; the frames of each family, of the
// window picture's copies and stretches and of the sub-effects as a digest; the cross-fade's
// shares and the mask's order, which a digest would not explain. (The refresh pace is timed by
// the push and cross-fade tests.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "graphics/PictureFile.h"
#include "graphics/SubEffects.h"
#include "graphics/Transitions.h"
#include "platform/StopSignal.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::TransitionRig;

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
      int idleFrames = 0;  // input is busy while drawing
      rig.window.onPresent = [&] { idleFrames += rig.engine.input.inputBusy != 1; };
      EXPECT_EQ(PresentScene(rig.engine.view, transition), 1);
      EXPECT_EQ(idleFrames, 0);
      EXPECT_EQ(rig.fakes.log.lines.back(), LogLine(number, width == 640 ? frames640 : frames800));
      EXPECT_EQ(rig.engine.input.inputBusy, 0);
      if (number == 21) {  // in-place blending ends within rounding of the new picture
        const auto &screen = rig.engine.view.screen.Surface(),
                   &scene = rig.engine.view.sceneSurface;
        for (size_t k = 0; k < screen.SizeBytes(); ++k)
          ASSERT_LE(std::abs(screen.Data()[k] - scene.Data()[k]), 1) << k;
        EXPECT_TRUE(rig.WindowShows(rig.engine.view.screen.Surface()));
      } else {
        EXPECT_TRUE(rig.ScreenShowsScene());
        EXPECT_TRUE(rig.WindowShows(rig.engine.view.sceneSurface));
      }
    }
  }
}

TEST(PresentScene, ClosingInterruptsATransitionAtItsFirstWaitAndFreesTheInput) {
  TransitionRig rig(16, 8);
  const Transition blinds{2, 64, ""};
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

void Show(Presentation& v, int sx, int sy, int w, int h, int dx, int dy) {
  v.screen.Show(v.sceneSurface, sx, sy, w, h, dx, dy);
}
void Stretch(Presentation& v, int dx, int dy, int dw, int dh) {
  v.screen.Stretch(v.sceneSurface, dx, dy, dw, dh);
}

// Every frame each family presents, pinned as one digest per row: when, where, and every window
// pixel (which tells the picture and place it came from), then the clock, the script's random
// state, the busy input and the screen's surface. The sizes reach the edge cases: bands and tile
// rows cut short, strips and ragged rows outside the picture, a zoom strip too narrow to draw,
// pushes both ways along each axis, a dissolve grid whose last stored rows are no whole cell.
// Copies are clipped at the source and the window together, and one with nothing left presents
// nothing; stretches repeat or drop pixels. The shake moves the whole larger frame and leaves the
// screen's surface as it was; the lines cross row 228 of the whole frame, 20 columns a frame,
// and stay in the screen's surface for a repaint; other sub-effect numbers do nothing, and none
// touches the busy input. A changed digest means a changed picture or pace.
TEST(Transitions, EachFamilyAndSubEffectPresentsTheFramesItAlwaysHas) {
  struct Row {
    const char* name;
    int width, height;
    int (*run)(Presentation&);
    int result;
    uint64_t digest;
  };
  const Row rows[] = {
      {"vertical blinds", 44, 6, VerticalBlinds, 11, 0x9eabb30b6457211u},
      {"horizontal blinds", 8, 485, HorizontalBlinds, 11, 0xbbbf5b7f29f971f6u},
      {"diagonal tiles", 640, 480, DiagonalTiles, 56, 0xd2e36c08afe6f6d5u},
      {"diagonal tiles, 31 rows", 60, 610, DiagonalTiles, 34, 0xbe38181114e19000u},
      {"ragged wipe", 40, 6, RaggedWipe, 40, 0x5535962c21644deeu},
      {"row wipe up", 8, 480, [](Presentation& v) { return RowWipe(v, false); }, 481,
       0xddb4bb1ef18d0b5fu},
      {"row wipe down", 12, 4, [](Presentation& v) { return RowWipe(v, true); }, 4,
       0xe59885bf117e46a2u},
      {"column wipe right", 12, 4, [](Presentation& v) { return ColumnWipe(v, true); }, 12,
       0x5f1fdcd64a1589dau},
      {"column wipe left", 12, 4, [](Presentation& v) { return ColumnWipe(v, false); }, 13,
       0xf054858c9d60d33fu},
      {"column strips", 44, 4, ColumnStrips, 5, 0xb1e4736c901f9745u},
      {"row strips", 4, 30, RowStrips, 3, 0xbe0b802a78ca4b55u},
      {"zoom", 640, 2, HorizontalZoom, 10, 0x97a3667a56ca8886u},
      {"zoom, narrow", 320, 2, HorizontalZoom, 10, 0x17046e58953995dbu},
      {"push up", 4, 36, [](Presentation& v) { return Push(v, PushDirection::Up); }, 5,
       0x6b093dc5943a8447u},
      {"push down", 4, 36, [](Presentation& v) { return Push(v, PushDirection::Down); }, 5,
       0xf86edd0ecf5204a7u},
      {"push left", 40, 2, [](Presentation& v) { return Push(v, PushDirection::Left); }, 4,
       0x246f2d4216ddddafu},
      {"push right", 44, 2, [](Presentation& v) { return Push(v, PushDirection::Right); }, 5,
       0x3d522631a4d2fe47u},
      {"ordered dissolve", 8, 6, OrderedDissolve, 16, 0x554fe19bd56b8572u},
      {"copies", 8, 6,
       [](Presentation& v) {
         Show(v, -2, 1, 5, 10, 4, -1);  // source column -2 and window row -1 cut off together
         Show(v, 0, 0, 8, 6, 8, 0);     // right of the window
         Show(v, 0, 6, 8, 6, 0, 0);     // below the source
         Show(v, 0, 0, -3, 6, 0, 0);    // no width
         return 0;
       },
       0, 0xf9577b05380760a6u},
      {"stretch, twice as wide from x = -4", 8, 6,
       [](Presentation& v) { return Stretch(v, -4, 0, 16, 6), 0; }, 0, 0xc99c5f995f8b9878u},
      {"stretches, squeezed and empty", 8, 6,
       [](Presentation& v) {
         for (int w : {4, 0, -8}) Stretch(v, 2, 0, w, 3);
         return 0;
       },
       0, 0x52bcd65e246094a7u},
      {"shake", 800, 600, [](Presentation& v) { return RunSubEffect(v, 1), 0; }, 0,
       0x3be7a0e566a60e8eu},
      {"red line", 640, 480, [](Presentation& v) { return RunSubEffect(v, 2), 0; }, 0,
       0xd91751bf5657f1f0u},
      {"white line", 640, 480, [](Presentation& v) { return RunSubEffect(v, 3), 0; }, 0,
       0x8de8624d97b82010u},
      {"red line, larger frame", 800, 600, [](Presentation& v) { return RunSubEffect(v, 2), 0; }, 0,
       0xead7eb696a71e983u},
      {"other sub-effects", 16, 8,
       [](Presentation& v) {
         for (int number : {0, 4, -1}) RunSubEffect(v, number);
         return 0;
       },
       0, 0x3934715874467f4eu},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TransitionRig rig(row.width, row.height);
    rig.engine.script.randomState = 12345;
    rig.engine.input.inputBusy = 2;
    rig.DigestFrames();
    EXPECT_EQ(row.run(rig.engine.view), row.result);
    rig.Fold({rig.fakes.clock.nowMs(), rig.engine.script.randomState,
              uint64_t(rig.engine.input.inputBusy.load())});
    const auto& screen = rig.engine.view.screen.Surface();
    rig.digest = test::Fnv1a({screen.Data(), screen.SizeBytes()}, rig.digest);
    EXPECT_EQ(rig.digest, row.digest) << std::hex << "0x" << rig.digest;
  }
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
  for (size_t k = 0; k < 5; ++k) EXPECT_EQ(rig.window.frames[k].time, k * 1000 / 60);
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

TEST(MaskTransition, LightEntriesMoveFirstEveryPixelArrivesAndTheMaskKeepsItsRowLength) {
  TransitionRig rig(4, 1);
  // Shares 255, 128, 0 and 17: moving starts once the level (-256, -240, ... 256) passes -share.
  EXPECT_EQ(FirstMoves(rig, Mask(4, 1, {255, 128, 0, 17})), (std::vector<int>{1, 9, 17, 16}));
  for (uint8_t byte : rig.window.picture) EXPECT_GE(byte, 254);
  EXPECT_TRUE(rig.WindowShows(rig.engine.view.screen.Surface()));
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

  // The mask keeps its own row length and pixels beyond it count as black. 12 indices a row:
  // stored row 1 (the top row) is white over the frame's 8 columns.
  TransitionRig wide(8, 2);
  std::vector<uint8_t> rows(24, 0);
  std::fill_n(rows.begin() + 12, 8, 255);
  std::vector<int> expected(16, 17);
  std::fill_n(expected.begin() + 8, 8, 1);
  EXPECT_EQ(FirstMoves(wide, Mask(12, 2, rows)), expected);
  TransitionRig small(8, 2);
  expected.assign(16, 17);
  expected[0] = expected[1] = 1;
  EXPECT_EQ(FirstMoves(small, Mask(2, 1, {255, 255})), expected);
}

}  // namespace
}  // namespace qv::graphics
