// Choosing and running a scene's transition (see Transitions.h).
#include "graphics/Transitions.h"

#include <optional>
#include <string>

#include "graphics/PictureLoading.h"
#include "graphics/TransitionSteps.h"

namespace qv::graphics {

namespace {

// The frames drawn by transition `number`, or nothing when the number has none.
std::optional<int> RunTransition(Presentation& view, const Transition& transition) {
  switch (transition.number) {
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
      return CrossFade(view, transition.crossFadeSteps);
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
      const auto mask = LoadMask(view, transition.maskFileName);
      return mask ? MaskTransition(view, *mask) : 0;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

int PresentScene(Presentation& view, const Transition& transition) {
  core::InputBusy busy(view.input);
  const int number = transition.number;
  std::optional<int> frames;
  if (view.services.env.screenEffects == 0 && number != 0) {
    frames = Cut(view);
  } else {
    frames = RunTransition(view, transition);
  }
  if (view.services.platform.log.Enabled()) {
    view.services.Log("transition " + std::to_string(number) + " " +
                      std::to_string(frames.value_or(0)));
  }
  return frames ? 1 : 0;
}

int Cut(Presentation& view) {
  view.screen.PutAll(view.sceneSurface);
  view.screen.ShowScreen();
  return 1;
}

}  // namespace qv::graphics
