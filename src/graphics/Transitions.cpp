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
  explicit BusyWhileDrawing(Presentation& view) : view_(view) { view_.input.inputBusy = 1; }
  ~BusyWhileDrawing() { view_.input.inputBusy = 0; }
  BusyWhileDrawing(const BusyWhileDrawing&) = delete;
  BusyWhileDrawing& operator=(const BusyWhileDrawing&) = delete;

 private:
  Presentation& view_;
};

// The frames drawn by transition `number`, or nothing when the number has none.
std::optional<int> RunTransition(Presentation& view, int number) {
  switch (number) {
    case 0:
      return 0;
    case 1:
      return Cut(view);
    case 2:
      return VerticalBlinds(view);
    case 3:
      return HorizontalBlinds(view);
    case 4:
      return OrderedDissolve(view);
    case 5:
      return HorizontalZoom(view);
    case 6:
      return DiagonalTiles(view);
    case 7:
      return RaggedWipe(view);
    case 8:
      return CrossFade(view, view.alphaDepth);
    case 11:
      return Push(view, PushDirection::Up);
    case 12:
      return Push(view, PushDirection::Down);
    case 13:
      return Push(view, PushDirection::Left);
    case 14:
      return Push(view, PushDirection::Right);
    case 15:
      return RowWipe(view, true);
    case 16:
      return RowWipe(view, false);
    case 17:
      return ColumnWipe(view, true);
    case 18:
      return ColumnWipe(view, false);
    case 19:
      return ColumnStrips(view);
    case 20:
      return RowStrips(view);
    case 21: {
      // A mask that cannot be used has been reported; the old picture stays.
      const auto mask = LoadMask(view);
      return mask ? MaskTransition(view, *mask) : 0;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

int PresentScene(Presentation& view) {
  BusyWhileDrawing busy(view);
  const int number = view.effectNumber;
  std::optional<int> frames;
  if (view.services.env.screenEffects == 0 && number != 0) {
    frames = Cut(view);
  } else {
    frames = RunTransition(view, number);
  }
  if (view.services.platform.log.Enabled()) {
    view.services.Log("transition " + std::to_string(number) + " " +
                      std::to_string(frames.value_or(0)));
  }
  return frames ? 1 : 0;
}

int Cut(Presentation& view) {
  steps::CopyAllToScreen(view, view.sceneSurface);
  ShowSurface(view, view.screenSurface);
  return 1;
}

}  // namespace qv::graphics
