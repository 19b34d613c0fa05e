// The script's pacing commands and the status bookkeeping a saved game carries.
#include <algorithm>
#include <optional>

#include "core/NameEntry.h"
#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "script/Commands.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

using core::GameState;

// The scene title starts right after the keyword, so the separating space is part of the title.
constexpr size_t kStatetitleText = 11;

// The number after the first space; none when the line has no argument at all.
std::optional<int32_t> NumberArgument(std::string_view line) {
  const std::optional<std::string_view> argument = ArgumentOf(line);
  if (!argument) return std::nullopt;
  return core::ReadNumber(*argument);
}

}  // namespace

void Wait(script::Engine& engine, std::string_view line) {
  engine.view.waitCursorOn = 0;
  auto& clock = engine.services.platform.clock;
  const uint32_t start = clock.tickCount();
  const uint32_t end = start + static_cast<uint32_t>(NumberArgument(line).value_or(0));
  for (;;) {
    // Tick counts compare unsigned, so an end that wrapped below the start is reached at once.
    const uint32_t now = clock.tickCount();
    if (now >= end) return;
    if (engine.input.restoringGame == 1) {
      // The loader has placed the position; the loop's step of 2 must land where it wants.
      engine.script.position -= 2;
      return;
    }
    clock.await([&] { return engine.input.restoringGame.load() == 1; },
                clock.nowMs() + (end - now));
  }
}

void Syncstart(script::Engine& engine, std::string_view) {
  engine.script.syncStartTime = engine.services.platform.clock.tickCount();
  engine.script.syncActive = 1;
}

void Syncexit(script::Engine& engine, std::string_view) {
  engine.script.syncActive = 0;
}

void Synctiming(script::Engine& engine, std::string_view line) {
  const uint32_t offset = static_cast<uint32_t>(NumberArgument(line).value_or(0));
  engine.services.platform.clock.waitUntilTick(engine.script.syncStartTime + offset,
                                               platform::WaitStyle::Sleep);
}

void Statuswindow(script::Engine& engine, std::string_view line) {
  engine.script.state.SetSlotValue(GameState::kStatusWindowOffset,
                                   core::ContainsBytes(line, "OPEN") ? 1 : 0);
}

void Statusctrl(script::Engine& engine, std::string_view line) {
  if (NumberArgument(line) != 1) return;
  GameState& state = engine.script.state;
  const size_t total = *state.PointSlot(2);
  const size_t bonus = *state.PointSlot(4);
  // Counters wrap as 32-bit integers; unsigned arithmetic keeps that defined.
  uint32_t value = static_cast<uint32_t>(state.SlotValue(total)) +
                   20u * static_cast<uint32_t>(state.SlotValue(bonus)) + 50u;
  state.SetSlotValue(total, static_cast<int32_t>(value));
}

void Statetitle(script::Engine& engine, std::string_view line) {
  std::string_view title = line.substr(std::min(line.size(), kStatetitleText));
  // The slot list shows the title, so a cut must not leave half a character behind.
  engine.script.state.SetText(GameState::kStateTitleOffset, GameState::kStateTitleSize,
                              core::CutAtCharBoundary(title, GameState::kStateTitleSize - 1));
}

// A replayed page never asks the player anything (here, nor in NameEntry below): each question
// was answered when the page was first played; a quit was declined, or the game would not have
// been saved after it, and the name given is in the loaded record.
void ExitGame(script::Engine& engine, std::string_view) {
  if (engine.input.restoringGame == 1) return;
  auto answer =
      core::ShowMessage(engine.services, core::texts::kConfirmCaption, core::texts::kQuitQuestion,
                        platform::BoxButtons::OkCancel, platform::BoxIcon::None);
  if (answer == platform::BoxAnswer::Ok) core::RequestClose(engine.services);
}

void Nothing(script::Engine&, std::string_view) {}

void NameEntry(script::Engine& engine, std::string_view) {
  if (engine.input.restoringGame == 1) return;
  core::RunNameEntry(engine.services, engine.script.state);
}

}  // namespace qv::script
