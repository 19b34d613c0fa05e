// Clicks and hovers on the on-screen elements (see OnScreenInput.h).
#include "shell/OnScreenInput.h"

#include <string>

#include "audio/SoundEffects.h"
#include "core/AdvanceMode.h"
#include "core/NameEntry.h"
#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "graphics/Screen.h"
#include "platform/Message.h"
#include "screens/BarButtons.h"
#include "screens/SaveLoadScreen.h"
#include "screens/SlotList.h"
#include "script/SavedGames.h"

namespace qv::shell {

namespace {

using screens::kBarButtonRects;

bool Inside(const core::Rect& r, int x, int y) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool StrictlyInside(const core::Rect& r, int x, int y) {
  return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

// A replayed list is lit where the pointer is, silently, as the rest of the replay is.
void PlayHoverSound(script::Engine& engine) {
  if (engine.input.restoringGame == 1) return;
  audio::PlaySoundEffect(engine.services, engine.services.baseDirectory + kHoverSoundPath);
}

constexpr auto kAllReact = [](int) { return true; };

// One set of elements: the hovered one shows its highlighted look, the rest their normal look.
// `highlightTop` is where the highlighted look's rows begin in `highlight`, relative to the frame;
// only elements that `reacts` can be hovered.
template <typename RectAt, typename Reacts>
void HoverSet(script::Engine& engine, int count, RectAt rectAt, Reacts reacts,
              const core::Surface& highlight, int highlightTop, const core::Surface& normal,
              int32_t& lastHovered, int x, int y) {
  auto& g = engine.view;
  bool anyHovered = false;
  for (int i = 0; i < count; ++i) {
    const core::Rect r = rectAt(i);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (reacts(i) && Inside(r, x, y)) {
      g.screen.Put(r.left, r.top, highlight, r.left, r.top - highlightTop, w, h);
      if (i != lastHovered) PlayHoverSound(engine);
      lastHovered = i;
      anyHovered = true;
    } else {
      g.screen.Put(normal, r.left, r.top, w, h);
    }
  }
  if (!anyHovered) lastHovered = 99;
  g.screen.ShowScreen();
}

void HoverBar(script::Engine& engine, int x, int y) {
  auto& g = engine.view;
  HoverSet(
      engine, static_cast<int>(kBarButtonRects.size()),
      [](int i) { return kBarButtonRects[static_cast<size_t>(i)]; }, kAllReact, g.barSurface,
      screens::kBarTop, g.pageSurface, engine.input.hoveredBar, x, y);
}

void HoverChoices(script::Engine& engine, int x, int y) {
  auto& g = engine.view;
  const auto& choices = engine.script.choices;
  auto rectAt = [&choices](int i) {
    const core::ChoiceItem& item = choices.items[static_cast<size_t>(i)];
    return core::Rect{item.left, item.top, item.right, item.bottom};
  };
  HoverSet(engine, std::min(choices.count, core::ChoiceTable::kCapacity), rectAt, kAllReact,
           g.pageSurface, 0, g.sceneSurface, engine.input.hoveredChoice, x, y);
}

// Only the entries that react light up; the others keep their normal look.
void HoverSlots(script::Engine& engine, int x, int y) {
  auto& g = engine.view;
  const auto& enabled = engine.saveLoad.slotEnabled;
  HoverSet(
      engine, static_cast<int>(screens::kSlotRects.size()),
      [](int i) { return screens::kSlotRects[static_cast<size_t>(i)]; },
      [&enabled](int i) { return enabled[static_cast<size_t>(i)] == 1; }, g.pageSurface, 0,
      g.sceneSurface, engine.input.hoveredSlot, x, y);
}

}  // namespace

int BarButtonClick(script::Engine& engine, uint32_t position) {
  if (engine.view.messageWindowActive == 0) return 1;
  const int x = platform::PointX(position);
  const int y = platform::PointY(position);
  for (int b = 0; b < static_cast<int>(kBarButtonRects.size()); ++b) {
    const core::Rect& r = kBarButtonRects[static_cast<size_t>(b)];
    const bool strict = b == screens::kSaveButton || b == screens::kLoadButton;
    if (!(strict ? StrictlyInside(r, x, y) : Inside(r, x, y))) continue;
    const bool shown = engine.view.messageWindowShown == 1;
    const bool skipping = engine.input.advanceMode == core::AdvanceMode::Skip;
    const bool busy = engine.input.inputBusy == 1;
    const bool noScreen = engine.input.screenMode == core::ScreenMode::Game;
    switch (b) {
      case screens::kSkipButton:
        if (!shown || skipping || !noScreen) return 1;
        screens::FlashBarButton(engine.view, b);
        core::SetSkipMode(engine.input, engine.services.env, engine.script.gate, true);
        return 1;
      case screens::kSaveButton:
      case screens::kLoadButton:
        // The screens open only over a halted script (see OpenMenuScreen): a button that will
        // not open one does not flash or sound either.
        if (skipping || busy || !shown || engine.script.gate.Halted() == core::HaltReason::None)
          return 1;
        screens::FlashBarButton(engine.view, b);
        OpenMenuScreen(engine,
                       b == screens::kSaveButton ? core::ScreenMode::Save : core::ScreenMode::Load);
        return 2;
      default:
        if (!shown || skipping || busy || !noScreen) return 1;
        screens::FlashBarButton(engine.view, b);
        graphics::ToggleMessageWindow(engine.view, 1);
        return 2;
    }
  }
  return 1;
}

int ChoiceClick(script::Engine& engine, uint32_t position) {
  const int hit =
      engine.script.choices.HitTest(platform::PointX(position), platform::PointY(position));
  // A click that comes before the interpreter has halted for the list is not a pick yet.
  if (hit < 0 || engine.script.gate.Halted() != core::HaltReason::Choice) return 0;
  const std::string label(engine.script.choices.items[static_cast<size_t>(hit)].Label());
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log("pick " + std::to_string(hit) + " " + engine.services.Utf8(label));
  }
  if (label.find(kLoadScreenLabel) != std::string::npos) {
    OpenMenuScreen(engine, core::ScreenMode::LoadTitle);
    return 1;
  }
  if (label.find("opening") != std::string::npos &&
      core::RunNameEntry(engine.services, engine.script.state) == 2)
    return 1;

  // The interpreter makes the jump itself; the list stops taking clicks and hovers at once.
  engine.input.screenMode = core::ScreenMode::Game;
  engine.script.gate.ResumeWithPick(label);
  return 1;
}

int OpenMenuScreen(script::Engine& engine, core::ScreenMode mode) {
  // A load replaces the line the interpreter goes on from, which only a halted one has: while it
  // still runs (a timed wait, say) the screens stay shut.
  if (engine.script.gate.Halted() == core::HaltReason::None) return 1;
  engine.input.inputBusy = 1;
  const int32_t cursorWasOn = engine.view.waitCursorOn;
  engine.view.waitCursorOn = 0;
  if (screens::OpenSaveLoadScreen(engine.saveLoad, mode)) {
    engine.input.previousScreenMode = engine.input.screenMode.load();
    engine.input.screenMode = mode;
    engine.input.hoveredSlot = 99;
    if (engine.services.platform.log.Enabled()) {
      engine.services.Log(mode == core::ScreenMode::Save   ? "screen save"
                          : mode == core::ScreenMode::Load ? "screen load"
                                                           : "screen load-title");
    }
  } else {
    engine.view.waitCursorOn = cursorWasOn;
  }
  engine.input.inputBusy = 0;
  return 1;
}

int SlotClick(script::Engine& engine, uint32_t position) {
  const int x = platform::PointX(position);
  const int y = platform::PointY(position);
  const auto& enabled = engine.saveLoad.slotEnabled;
  for (size_t i = 0; i < screens::kSlotRects.size(); ++i) {
    if (enabled[i] != 1 || !Inside(screens::kSlotRects[i], x, y)) continue;
    const int slot = static_cast<int>(i);
    if (slot == 0) {
      screens::CloseSaveLoadScreen(engine.saveLoad);
      if (engine.services.platform.log.Enabled()) engine.services.Log("screen close");
      return 1;
    }
    if (engine.input.screenMode == core::ScreenMode::Save) {
      script::SaveGame(engine, slot);
      screens::RedrawSaveLoadScreen(engine.saveLoad, core::ScreenMode::Save);
      // The slot under the pointer shows its new date and title at once.
      HandleHover(engine, engine.services.platform.window.CursorPosition());
      return 1;
    }
    if (!script::LoadGame(engine, slot)) return 0;
    screens::FreeSaveLoadBackups(engine.saveLoad);
    return 1;
  }
  return 1;
}

int HandleHover(script::Engine& engine, uint32_t position) {
  const int x = platform::PointX(position);
  const int y = platform::PointY(position);
  const auto hoverBarIfShown = [&] {
    if (engine.input.inputBusy == 0 && engine.view.messageWindowShown == 1) HoverBar(engine, x, y);
  };
  if (engine.input.screenMode == core::ScreenMode::Game) {
    hoverBarIfShown();
    return 1;
  }
  if (engine.input.inputBusy == 1) return 1;
  const core::ScreenMode mode = engine.input.screenMode;
  if (core::IsSaveLoadScreen(mode)) {
    HoverSlots(engine, x, y);
    return 1;
  }
  HoverChoices(engine, x, y);
  hoverBarIfShown();
  return 1;
}

}  // namespace qv::shell
