// Choosing and running a scene's transition (see Transitions.h).
#include "graphics/Transitions.h"

#include <optional>
#include <string>

#include "graphics/PictureLoading.h"
#include "graphics/TransitionSteps.h"
#include "graphics/WindowPicture.h"

namespace qv::graphics {

namespace {

// Clears inputBusy on every way out, a stop signal thrown from a wait included.
class BusyWhileDrawing {
 public:
  explicit BusyWhileDrawing(script::Engine& engine) : engine_(engine) {
    engine_.input.inputBusy = 1;
  }
  ~BusyWhileDrawing() { engine_.input.inputBusy = 0; }
  BusyWhileDrawing(const BusyWhileDrawing&) = delete;
  BusyWhileDrawing& operator=(const BusyWhileDrawing&) = delete;

 private:
  script::Engine& engine_;
};

// The frames drawn by transition `number`, or nothing when the number has none.
std::optional<int> RunTransition(script::Engine& engine, int number) {
  switch (number) {
    case 0:
      return 0;
    case 1:
      return Cut(engine);
    case 2:
      return VerticalBlinds(engine);
    case 3:
      return HorizontalBlinds(engine);
    case 4:
      return OrderedDissolve(engine);
    case 5:
      return HorizontalZoom(engine);
    case 6:
      return DiagonalTiles(engine);
    case 7:
      return RaggedWipe(engine);
    case 8:
      return CrossFade(engine, engine.view.alphaDepth);
    case 11:
      return Push(engine, PushDirection::Up);
    case 12:
      return Push(engine, PushDirection::Down);
    case 13:
      return Push(engine, PushDirection::Left);
    case 14:
      return Push(engine, PushDirection::Right);
    case 15:
      return RowWipe(engine, true);
    case 16:
      return RowWipe(engine, false);
    case 17:
      return ColumnWipe(engine, true);
    case 18:
      return ColumnWipe(engine, false);
    case 19:
      return ColumnStrips(engine);
    case 20:
      return RowStrips(engine);
    case 21: {
      // A mask that cannot be used has been reported; the old picture stays.
      const auto mask = LoadMask(engine);
      return mask ? MaskTransition(engine, *mask) : 0;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

int PresentScene(script::Engine& engine) {
  BusyWhileDrawing busy(engine);
  const int number = engine.view.effectNumber;
  std::optional<int> frames;
  if (engine.services.env.screenEffects == 0 && number != 0) {
    frames = Cut(engine);
  } else {
    frames = RunTransition(engine, number);
  }
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log("transition " + std::to_string(number) + " " +
                        std::to_string(frames.value_or(0)));
  }
  return frames ? 1 : 0;
}

int Cut(script::Engine& engine) {
  steps::CopyAllToScreen(engine, engine.view.sceneSurface);
  ShowSurface(engine, engine.view.screenSurface);
  return 1;
}

}  // namespace qv::graphics
