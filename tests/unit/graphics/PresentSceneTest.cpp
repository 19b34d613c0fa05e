// Every transition's frame count, final picture and log line at both usual sizes; choosing the
// transition; inputBusy on every way out.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>

#include "graphics/PictureFile.h"
#include "graphics/Transitions.h"
#include "platform/StopSignal.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::graphics {
namespace {

using test::Source;
using test::TransitionRig;

// A grey mask the size of the frame (index = grey = its share), diagonal bands of greys.
void PutMask(TransitionRig& rig, int width, int height) {
  std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = static_cast<uint8_t>(i % width + i / width);
  rig.engine.maskFileName = "C:\\game\\cg\\mask.bmp";
  const auto file = EncodeMask(width, height, indices);
  rig.fakes.files.Put(rig.engine.maskFileName,
                      {reinterpret_cast<const char*>(file.data()), file.size()});
}

struct Expected {
  int number;
  int frames640;
  int frames800;
};

// 640 x 480 as the transitions were made for; 800 x 600 with the 640 x 480 sizes widened to the
// frame (tile rows, sweep and push distances, the mask's own rows).
constexpr Expected kTransitions[] = {{1, 1, 1},      {2, 11, 11},    {3, 11, 11},    {4, 16, 16},
                                     {5, 10, 10},    {6, 56, 70},    {7, 160, 192},  {8, 65, 65},
                                     {11, 60, 75},   {12, 60, 75},   {13, 64, 80},   {14, 64, 80},
                                     {15, 480, 600}, {16, 481, 601}, {17, 640, 800}, {18, 641, 801},
                                     {19, 64, 80},   {20, 48, 60},   {21, 33, 33}};

TEST(PresentScene, EveryTransitionEndsOnTheNewPictureCoveringTheWholeFrameAtBothSizes) {
  for (const auto& [width, height] : {std::pair{640, 480}, std::pair{800, 600}}) {
    for (const Expected& e : kTransitions) {
      SCOPED_TRACE("transition " + std::to_string(e.number) + " at " + std::to_string(width));
      TransitionRig rig(width, height);
      PutMask(rig, width, height);
      rig.engine.effectNumber = e.number;
      EXPECT_EQ(PresentScene(rig.engine), 1);
      const int frames = width == 640 ? e.frames640 : e.frames800;
      EXPECT_EQ(rig.fakes.log.lines.back(),
                "transition " + std::to_string(e.number) + " " + std::to_string(frames));
      EXPECT_EQ(rig.engine.inputBusy, 0);
      if (e.number == 21) {
        // In-place blending ends within rounding of the new picture.
        const auto& screen = rig.engine.graphics.screenSurface;
        const auto& scene = rig.engine.graphics.sceneSurface;
        for (size_t k = 0; k < screen.SizeBytes(); ++k) {
          ASSERT_LE(std::abs(screen.Data()[k] - scene.Data()[k]), 1) << k;
        }
        EXPECT_TRUE(rig.WindowEqualsScreen());
      } else {
        EXPECT_TRUE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));
        EXPECT_EQ(rig.WindowMismatches(Source::New), 0);
      }
    }
  }
}

TEST(PresentScene, ScreenEffectsOffCutsEveryNumberButZero) {
  for (int number : {2, 8, 9, 21, -4}) {
    TransitionRig rig(16, 8);
    rig.engine.env.screenEffects = 0;
    rig.engine.effectNumber = number;
    EXPECT_EQ(PresentScene(rig.engine), 1);
    EXPECT_EQ(rig.window.frames.size(), 1u);
    EXPECT_EQ(rig.WindowMismatches(Source::New), 0);
    EXPECT_EQ(rig.fakes.clock.nowMs(), 0u);
    EXPECT_EQ(rig.fakes.log.lines.back(), "transition " + std::to_string(number) + " 1");
  }
  TransitionRig rig(16, 8);
  rig.engine.env.screenEffects = 0;
  EXPECT_EQ(PresentScene(rig.engine), 1);
  EXPECT_TRUE(rig.window.frames.empty());
  EXPECT_EQ(rig.fakes.log.lines.back(), "transition 0 0");
}

TEST(PresentScene, ZeroAndUnlistedNumbersDrawNothing) {
  for (int number : {0, 9, 10, 22, -1}) {
    TransitionRig rig(16, 8);
    rig.engine.effectNumber = number;
    EXPECT_EQ(PresentScene(rig.engine), number == 0 ? 1 : 0);
    EXPECT_TRUE(rig.window.frames.empty());
    EXPECT_EQ(rig.WindowMismatches(Source::Old), 0);
    EXPECT_FALSE(rig.ScreenEquals(rig.engine.graphics.sceneSurface));
    EXPECT_EQ(rig.engine.inputBusy, 0);
    EXPECT_EQ(rig.fakes.log.lines.back(), "transition " + std::to_string(number) + " 0");
  }
}

TEST(PresentScene, AMissingMaskLeavesTheOldPicture) {
  TransitionRig rig(16, 8);
  rig.engine.effectNumber = 21;
  rig.engine.maskFileName = "C:\\game\\cg\\none.bmp";
  EXPECT_EQ(PresentScene(rig.engine), 1);
  ASSERT_EQ(rig.fakes.ui.boxes.size(), 1u);
  EXPECT_EQ(rig.fakes.ui.boxes[0].text, "loss parts");
  EXPECT_TRUE(rig.window.frames.empty());
  EXPECT_EQ(rig.WindowMismatches(Source::Old), 0);
  EXPECT_EQ(rig.fakes.log.lines.back(), "transition 21 0");
}

TEST(PresentScene, InputIsBusyWhileDrawingAndFreeOnEveryWayOut) {
  TransitionRig rig(16, 8);
  rig.engine.effectNumber = 2;
  std::vector<int> busy;
  rig.window.onPresent = [&] { busy.push_back(rig.engine.inputBusy); };
  PresentScene(rig.engine);
  EXPECT_EQ(busy, std::vector<int>(10, 1));
  EXPECT_EQ(rig.engine.inputBusy, 0);

  // Closing interrupts the transition at its first wait.
  rig.fakes.clock.requestStop();
  bool stopped = false;
  std::thread interpreter([&] {
    platform::Clock::MarkThreadInterruptible();
    try {
      PresentScene(rig.engine);
    } catch (const platform::StopSignal&) {
      stopped = true;
    }
  });
  interpreter.join();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(rig.engine.inputBusy, 0);
}

}  // namespace
}  // namespace qv::graphics
