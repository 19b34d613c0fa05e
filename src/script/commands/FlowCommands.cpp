// The scenario's memory and control flow: event flags, point counters, record flags and jumps.
#include <optional>
#include <string>

#include "core/Random.h"
#include "core/SettingsFile.h"
#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "script/Commands.h"
#include "script/Interpreter.h"
#include "script/JumpLabels.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

using core::GameState;

// Where each command's fixed-column argument starts: the keyword with its dollar sign and exactly
// one space.
constexpr size_t kPointflagArgument = 11;
constexpr size_t kRandomArgument = 8;

bool HasReset(std::string_view line) {
  return core::ContainsBytes(line, "reset");
}

// The scripts' counters wrap as 32-bit integers do; computing in unsigned keeps that defined.
int32_t WrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// A missing label ends the program. The interpreter is parked just before the end marker so that
// the loop's next step reads the end of the script instead of running further lines while the
// window closes.
int FailJump(script::Engine& engine, std::string_view message) {
  auto script = engine.script.Text();
  if (script) engine.script.position = script->size - 2;
  core::ShowWarning(engine.services, engine.services.Utf8(message));
  core::RequestClose(engine.services);
  return 0;
}

// A conditional jump's search text serves as its message too.
void JumpFromSpace(script::Engine& engine, std::string_view line, size_t labelSpace) {
  const std::optional<std::string> search = JudgeSearchText(line, labelSpace);
  if (!search) {
    FailJump(engine, line);
    return;
  }
  JumpToLabel(engine, *search, *search);
}

}  // namespace

int JumpToLabel(script::Engine& engine, std::string_view search, std::string_view message) {
  StopIfClosing(engine);
  auto script = engine.script.Text();
  if (!script || search.empty()) return FailJump(engine, message);
  std::string_view text = script->View();
  size_t at = text.find(search);
  if (at == std::string_view::npos) return FailJump(engine, message);
  // Walk to the line's end as the line reader would, so the loop's step of 2 lands on the next
  // line whether it ends with CR LF or a bare LF.
  for (size_t i = at; i < text.size(); ++i) {
    auto byte = static_cast<uint8_t>(text[i]);
    if (byte == '\r' || (i + 1 < text.size() && text[i + 1] == '\n')) {
      engine.script.position = static_cast<uint32_t>(i);
      return 1;
    }
    // A label on the last line has nothing after it to continue with.
    if (byte == core::ScriptText::kEndMarker) break;
  }
  return FailJump(engine, message);
}

int JumpToPick(script::Engine& engine, std::string_view label) {
  const std::string search = ":" + std::string(label);
  auto script = engine.script.Text();
  const size_t at = script ? script->View().find(search) : std::string_view::npos;
  if (at == std::string_view::npos) return FailJump(engine, search);
  engine.script.position = static_cast<uint32_t>(at);
  return 1;
}

void Flagreset(script::Engine& engine, std::string_view) {
  engine.script.state.Clear();
}

void Jmp(script::Engine& engine, std::string_view line) {
  engine.view.ResetTextPosition();
  const std::optional<std::string> search = JmpSearchText(line);
  if (!search) {
    FailJump(engine, line);
    return;
  }
  // The message is the line from its label on, colon included.
  const std::string message = ":" + std::string(line.substr(line.find(' ') + 1));
  if (!JumpToLabel(engine, *search, message)) return;

  const std::optional<std::string> label = JmpReturnLabel(line);
  if (!label) return;
  engine.script.state.SetText(GameState::kReturnLabelOffset, GameState::kReturnLabelSize, *label);
}

void Returnto(script::Engine& engine, std::string_view line) {
  std::string label(
      engine.script.state.Text(GameState::kReturnLabelOffset, GameState::kReturnLabelSize));
  if (label.empty()) return;
  engine.view.ResetTextPosition();
  if (JumpToLabel(engine, label, line)) {
    engine.script.state.SetText(GameState::kReturnLabelOffset, GameState::kReturnLabelSize, "");
  }
}

void Eventflag(script::Engine& engine, std::string_view line) {
  auto argument = ArgumentOf(line);
  if (!argument) return;
  auto slot = engine.script.state.EventFlagSlot(core::ReadNumber(*argument));
  if (!slot) return;
  engine.script.state.SetSlotValue(*slot, HasReset(line) ? 0 : 1);
}

void Eventjudge(script::Engine& engine, std::string_view line) {
  int32_t number = core::ReadNumber(core::TakeUntil(line, kEventjudgeArgument, " ", 2));
  auto slot = engine.script.state.EventFlagSlot(number);
  if (!slot || engine.script.state.SlotValue(*slot) != 1) return;
  JumpFromSpace(engine, line, EventjudgeLabelSpace(line));
}

void Pointflag(script::Engine& engine, std::string_view line) {
  int32_t number = core::ReadNumber(core::TakeUntil(line, kPointflagArgument, " "));
  auto slot = engine.script.state.PointSlot(number);
  if (!slot) return;
  if (HasReset(line)) {
    engine.script.state.SetSlotValue(*slot, 0);
    return;
  }
  size_t space = line.find(' ', kPointflagArgument);
  if (space == std::string_view::npos) return;
  int32_t change = core::ReadNumber(core::TakeUntil(line, space + 1, " ", 5));
  int32_t sum = WrappingAdd(engine.script.state.SlotValue(*slot), change);
  engine.script.state.SetSlotValue(*slot, sum > 0 ? sum : 0);
}

void Pointjudge(script::Engine& engine, std::string_view line) {
  int32_t number = core::ReadNumber(core::TakeUntil(line, kPointjudgeArgument, " ", 3));
  auto slot = engine.script.state.PointSlot(number);
  if (!slot) return;
  size_t afterNumber = line.find(' ', kPointjudgeArgument);
  int32_t threshold = 0;
  if (afterNumber != std::string_view::npos) {
    threshold = core::ReadNumber(core::TakeUntil(line, afterNumber + 1, " ", 5));
  }
  // Unsigned, so a negative threshold is out of every counter's reach.
  if (static_cast<uint32_t>(engine.script.state.SlotValue(*slot)) <
      static_cast<uint32_t>(threshold)) {
    return;
  }
  JumpFromSpace(engine, line, PointjudgeLabelSpace(line));
}

void Random(script::Engine& engine, std::string_view line) {
  size_t afterNumber = line.find(' ', kRandomArgument);
  if (afterNumber == std::string_view::npos) return;
  int32_t range = core::ReadNumber(core::TakeUntil(line, afterNumber + 1, "", 3));
  if (range < 1 || range > 999) return;
  int32_t number = core::ReadNumber(core::TakeUntil(line, kRandomArgument, " "));
  engine.script.randomState = engine.services.platform.clock.tickCount();
  uint32_t drawn = core::DrawRandom(engine.script.randomState);
  auto slot = engine.script.state.PointSlot(number);
  if (!slot) return;
  engine.script.state.SetSlotValue(*slot,
                                   static_cast<int32_t>(drawn % static_cast<uint32_t>(range)));
}

void Recflag(script::Engine& engine, std::string_view line) {
  auto argument = ArgumentOf(line);
  if (!argument) return;
  int32_t number = core::ReadNumber(*argument);
  if (number < 1 || number > static_cast<int32_t>(core::EnvSettings::kFlagCount)) return;
  engine.services.env.recordFlags[static_cast<size_t>(number - 1)] =
      HasReset(line) ? uint8_t{0} : uint8_t{1};
  core::SaveEnvSettings(engine.services, core::kNoImageFlag);
}

}  // namespace qv::script
