// The keyboard and gamepad focus (see KeyboardFocus.h).
#include "shell/KeyboardFocus.h"

#include <array>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "screens/BarButtons.h"
#include "screens/SlotList.h"
#include "shell/MainWindow.h"
#include "shell/OnScreenInput.h"

namespace qv::shell {

namespace {

using core::FocusSet;

// The bar's buttons from left to right on the screen: skip, hide, save, load.
constexpr std::array<int32_t, 4> kBarOrder{screens::kSkipButton, screens::kHideButton,
                                           screens::kSaveButton, screens::kLoadButton};

bool SlotsReact(script::Engine& engine) {
  return core::IsSaveLoadScreen(engine.input.screenMode) && engine.input.inputBusy == 0;
}

bool ChoicesReact(script::Engine& engine) {
  return engine.input.screenMode == core::ScreenMode::Choice && engine.input.inputBusy == 0 &&
         engine.script.gate.Halted() == core::HaltReason::Choice;
}

bool BarReacts(script::Engine& engine) {
  const core::ScreenMode mode = engine.input.screenMode;
  return (mode == core::ScreenMode::Game || mode == core::ScreenMode::Choice) &&
         engine.input.inputBusy == 0 && engine.view.messageWindowActive == 1 &&
         engine.view.messageWindowShown == 1;
}

int ChoiceCount(const script::Engine& engine) {
  return std::min(engine.script.choices.count, core::ChoiceTable::kCapacity);
}

// The entries of the save or load screen that react, in their order (return button first).
std::vector<int32_t> ReactingSlots(const script::Engine& engine) {
  std::vector<int32_t> slots;
  for (size_t i = 0; i < engine.saveLoad.slotEnabled.size(); ++i) {
    if (engine.saveLoad.slotEnabled[i] == 1) slots.push_back(static_cast<int32_t>(i));
  }
  return slots;
}

core::Rect RectOf(const script::Engine& engine, FocusSet set, int32_t focusIndex) {
  const auto index = static_cast<size_t>(focusIndex);
  switch (set) {
    case FocusSet::Choice: {
      const core::ChoiceItem& item = engine.script.choices.items[index];
      return {item.left, item.top, item.right, item.bottom};
    }
    case FocusSet::Bar:
      return screens::kBarButtonRects[index];
    case FocusSet::Slot:
      return screens::kSlotRects[index];
    case FocusSet::None:
      break;
  }
  return {};
}

uint32_t FocusCentre(const script::Engine& engine) {
  const core::Rect r = RectOf(engine, engine.input.focusSet, engine.input.focusIndex);
  return platform::MakePoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Where a move in `set` starts: the focus, else the element under the pointer (99: none). The
// last hovered index alone would do only while the pointer is still on it: it outlives its list.
int32_t Current(script::Engine& engine, FocusSet set, int32_t hovered, int32_t count) {
  if (engine.input.focusSet == set) return engine.input.focusIndex;
  if (engine.input.focusSet != FocusSet::None || hovered < 0 || hovered >= count) return 99;
  const uint32_t pointer = engine.services.platform.window.CursorPosition();
  const int x = platform::PointX(pointer), y = platform::PointY(pointer);
  const core::Rect r = RectOf(engine, set, hovered);
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom ? hovered : 99;
}

// The next of `count` places from `at` (-1: none yet), wrapping round.
int Step(int at, int count, bool forward) {
  if (at < 0) return forward ? 0 : count - 1;
  return (at + (forward ? 1 : count - 1)) % count;
}

void Focus(script::Engine& engine, FocusSet set, int32_t index) {
  engine.input.focusSet = set;
  engine.input.focusIndex = index;
  HandleHover(engine, FocusCentre(engine));
  if (engine.services.platform.log.Enabled()) {
    const char* name = set == FocusSet::Choice ? "choice "
                       : set == FocusSet::Bar  ? "bar "
                                               : "slot ";
    engine.services.Log("focus " + std::string(name) + std::to_string(index));
  }
}

int MoveOnBar(script::Engine& engine, bool forward) {
  int at = -1;
  const int32_t from = Current(engine, FocusSet::Bar, engine.input.hoveredBar,
                               static_cast<int32_t>(screens::kBarButtonRects.size()));
  for (size_t i = 0; i < kBarOrder.size(); ++i) {
    if (kBarOrder[i] == from) at = static_cast<int>(i);
  }
  Focus(engine, FocusSet::Bar,
        kBarOrder[static_cast<size_t>(Step(at, static_cast<int>(kBarOrder.size()), forward))]);
  return 1;
}

int MoveOnSlots(script::Engine& engine, FocusMove move) {
  const std::vector<int32_t> slots = ReactingSlots(engine);
  if (slots.empty()) return 0;
  int at = -1;
  const int32_t from = Current(engine, FocusSet::Slot, engine.input.hoveredSlot,
                               static_cast<int32_t>(screens::kSlotRects.size()));
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] == from) at = static_cast<int>(i);
  }
  if (move == FocusMove::Left || move == FocusMove::Right) {
    // The twelve slots stand in two columns of six: across goes to the same row's other slot.
    if (at < 0) return MoveOnSlots(engine, FocusMove::Down);
    const int32_t index = slots[static_cast<size_t>(at)];
    const int32_t across = index == 0 ? 0 : index <= 6 ? index + 6 : index - 6;
    if (across == 0 || engine.saveLoad.slotEnabled[static_cast<size_t>(across)] != 1) return 1;
    Focus(engine, FocusSet::Slot, across);
    return 1;
  }
  // Down from nothing starts on the first slot rather than on the return button.
  int next = Step(at, static_cast<int>(slots.size()), move == FocusMove::Down);
  if (at < 0 && move == FocusMove::Down && slots[0] == 0 && slots.size() > 1) next = 1;
  Focus(engine, FocusSet::Slot, slots[static_cast<size_t>(next)]);
  return 1;
}

}  // namespace

bool FocusValid(script::Engine& engine) {
  auto& input = engine.input;
  bool valid = false;
  switch (input.focusSet) {
    case FocusSet::Choice:
      valid = ChoicesReact(engine) && input.focusIndex < ChoiceCount(engine);
      break;
    case FocusSet::Bar:
      valid = BarReacts(engine);
      break;
    case FocusSet::Slot:
      valid = SlotsReact(engine) &&
              engine.saveLoad.slotEnabled[static_cast<size_t>(input.focusIndex)] == 1;
      break;
    case FocusSet::None:
      break;
  }
  if (!valid) input.focusSet = FocusSet::None;
  return valid;
}

int MoveFocus(script::Engine& engine, FocusMove move) {
  FocusValid(engine);
  const bool forward = move == FocusMove::Down || move == FocusMove::Right;
  const bool across = move == FocusMove::Left || move == FocusMove::Right;
  if (SlotsReact(engine)) return MoveOnSlots(engine, move);
  if (ChoicesReact(engine) && ChoiceCount(engine) > 0) {
    if (across && BarReacts(engine)) return MoveOnBar(engine, forward);
    if (across) return 0;
    const int32_t from =
        Current(engine, FocusSet::Choice, engine.input.hoveredChoice, ChoiceCount(engine));
    Focus(engine, FocusSet::Choice, Step(from == 99 ? -1 : from, ChoiceCount(engine), forward));
    return 1;
  }
  if (BarReacts(engine) && across) return MoveOnBar(engine, forward);
  return 0;
}

int PickFocus(script::Engine& engine) {
  if (!FocusValid(engine)) return 0;
  const uint32_t centre = FocusCentre(engine);
  HandleClick(engine, centre);
  // What the click left up (a save screen after a save, the bar) keeps the focus lit, though
  // the screen lit what lies under the pointer; the element was never left, so it is silent.
  if (FocusValid(engine)) {
    auto& input = engine.input;
    int32_t& hovered = input.focusSet == FocusSet::Choice ? input.hoveredChoice
                       : input.focusSet == FocusSet::Bar  ? input.hoveredBar
                                                          : input.hoveredSlot;
    hovered = input.focusIndex;
    HandleHover(engine, centre);
  }
  return 1;
}

}  // namespace qv::shell
