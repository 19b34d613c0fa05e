// The additions' input routing (see PlayerInput.h).
#include "shell/PlayerInput.h"

#include <optional>

#include "core/AdvanceMode.h"
#include "graphics/Compositing.h"
#include "resources/SystemMenuResource.h"
#include "screens/BarButtons.h"
#include "screens/SlotList.h"
#include "shell/Backlog.h"
#include "shell/HeldSkip.h"
#include "shell/KeyboardFocus.h"
#include "shell/MainWindow.h"
#include "shell/OnScreenInput.h"
#include "shell/SystemMenu.h"

namespace qv::shell {

namespace {

using platform::PadButton;

// A click that hits no element, as a key's release is: it advances the script.
constexpr uint32_t kNowhere = platform::MakePoint(-1, -1);

uint32_t Centre(const core::Rect& r) {
  return platform::MakePoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void OnWheel(script::Engine& engine, int32_t notches) {
  if (BacklogOpen(engine)) {
    TurnBacklog(engine, notches);
  } else if (notches > 0) {
    OpenBacklog(engine);
  } else if (engine.input.screenMode == core::ScreenMode::Game) {
    HandleClick(engine, kNowhere);
  }
}

// The backlog's own keys and buttons; everything else is held back while it is open.
void OnBacklogMove(script::Engine& engine, FocusMove move) {
  if (move == FocusMove::Up) TurnBacklog(engine, 1);
  if (move == FocusMove::Down) TurnBacklog(engine, -1);
}

std::optional<FocusMove> ArrowKey(uint32_t key) {
  switch (key) {
    case platform::VK_UP:
      return FocusMove::Up;
    case platform::VK_DOWN:
      return FocusMove::Down;
    case platform::VK_LEFT:
      return FocusMove::Left;
    case platform::VK_RIGHT:
      return FocusMove::Right;
    default:
      return std::nullopt;
  }
}

bool OnKeyDown(script::Engine& engine, platform::MenuItem& menu, uint32_t key) {
  if (key >= engine.input.keysTaken.size()) return false;
  const std::optional<FocusMove> arrow = ArrowKey(key);
  if (BacklogOpen(engine)) {
    if (key == platform::VK_PRIOR) TurnBacklog(engine, 1);
    if (key == platform::VK_NEXT) TurnBacklog(engine, -1);
    if (key == platform::VK_ESCAPE) CloseBacklog(engine);
    if (arrow) OnBacklogMove(engine, *arrow);
  } else if (key == platform::VK_CONTROL) {
    StartHeldSkip(engine);
  } else if (key == platform::VK_PRIOR) {
    OpenBacklog(engine);
  } else if (arrow) {
    MoveFocus(engine, *arrow);
  } else if (key == platform::VK_APPS) {
    RightClick(engine, menu, engine.services.platform.window.CursorPosition());
  } else {
    return false;
  }
  engine.input.keysTaken.set(key);
  return true;
}

bool OnKeyUp(script::Engine& engine, uint32_t key) {
  if (key < engine.input.keysTaken.size() && engine.input.keysTaken.test(key)) {
    engine.input.keysTaken.reset(key);
    if (key == platform::VK_CONTROL) EndHeldSkip(engine);
    return true;
  }
  if (BacklogOpen(engine)) return true;
  if (key == platform::VK_RETURN || key == platform::VK_SPACE) return PickFocus(engine) == 1;
  return false;
}

void OnPadButton(script::Engine& engine, platform::MenuItem& menu, PadButton button) {
  auto& input = engine.input;
  const bool slots = core::IsSaveLoadScreen(input.screenMode);
  const bool game = input.screenMode == core::ScreenMode::Game;
  std::optional<FocusMove> move;
  if (button == PadButton::Up) move = FocusMove::Up;
  if (button == PadButton::Down) move = FocusMove::Down;
  if (button == PadButton::Left) move = FocusMove::Left;
  if (button == PadButton::Right) move = FocusMove::Right;
  if (BacklogOpen(engine)) {
    if (move) OnBacklogMove(engine, *move);
    if (button == PadButton::B || button == PadButton::Y) CloseBacklog(engine);
    return;
  }
  if (move) {
    MoveFocus(engine, *move);
    return;
  }
  switch (button) {
    case PadButton::A:
      // Without a focus: the click that advances, or the first element of a list or screen.
      if (PickFocus(engine) == 0) {
        if (game) {
          HandleClick(engine, kNowhere);
        } else {
          MoveFocus(engine, FocusMove::Down);
        }
      }
      break;
    case PadButton::B:
      if (slots) {
        if (engine.saveLoad.slotEnabled[0] == 1)
          HandleClick(engine, Centre(screens::kSlotRects[0]));
      } else {
        RightClick(engine, menu, engine.services.platform.window.CursorPosition());
      }
      break;
    case PadButton::X:
      // The hide button, or the click that shows a hidden window again.
      if (!game) break;
      if (engine.view.messageWindowActive == 1 && engine.view.messageWindowShown == 0) {
        HandleClick(engine, kNowhere);
      } else {
        BarButtonClick(engine, Centre(screens::kBarButtonRects[screens::kHideButton]));
      }
      break;
    case PadButton::Y:
      OpenBacklog(engine);
      break;
    case PadButton::LB:
      RunMenuCommand(engine, menu, resources::ID_AUTO);
      break;
    case PadButton::RB:
      if (input.advanceMode == core::AdvanceMode::Skip) {
        core::SetSkipMode(input, engine.services.env, engine.script.gate, false);
      } else {
        BarButtonClick(engine, Centre(screens::kBarButtonRects[screens::kSkipButton]));
      }
      break;
    case PadButton::Start:
      RightClick(engine, menu, engine.services.platform.window.CursorPosition());
      break;
    default:
      break;
  }
}

}  // namespace

void RightClick(script::Engine& engine, platform::MenuItem& menu, uint32_t position) {
  if (engine.input.advanceMode == core::AdvanceMode::Auto) SetAutoMode(engine, 0);
  ShowSystemMenu(engine, menu, position);
}

bool HandlePlayerInput(script::Engine& engine, platform::MenuItem& menu,
                       const platform::Message& message) {
  using namespace platform;
  switch (message.id) {
    case MSG_MOUSEMOVE:
      // The pointer takes over from the keyboard; the backlog holds the screen.
      engine.input.focusSet = core::FocusSet::None;
      return BacklogOpen(engine);
    case MSG_LBUTTONUP:
      if (!BacklogOpen(engine)) return false;
      BacklogClick(engine, message.lParam);
      return true;
    case MSG_RBUTTONUP:
      if (!BacklogOpen(engine)) return false;
      CloseBacklog(engine);
      return true;
    case MSG_MOUSEWHEEL:
      OnWheel(engine, static_cast<int32_t>(message.wParam));
      return true;
    case MSG_KEYDOWN:
      return OnKeyDown(engine, menu, message.wParam);
    case MSG_KEYUP:
      return OnKeyUp(engine, message.wParam);
    case MSG_PAD_BUTTON:
      if (message.lParam == 1) OnPadButton(engine, menu, static_cast<PadButton>(message.wParam));
      return true;
    case MSG_PAD_PLUG:
      if (engine.services.platform.log.Enabled())
        engine.services.Log(message.wParam == 1 ? "pad plugged" : "pad unplugged");
      return true;
    default:
      return false;
  }
}

}  // namespace qv::shell
