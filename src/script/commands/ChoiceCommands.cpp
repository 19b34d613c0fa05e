// The three choice commands: selarea (screen areas), selword (word bars) and flagselect (areas
// offered by the record or image-seen flags). Each reads its item lines into the choice table,
// puts the list up and halts until the window thread's ChoiceClick lets it go.
#include <optional>
#include <string>

#include "core/AdvanceMode.h"
#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "graphics/Compositing.h"
#include "graphics/PictureLoading.h"
#include "graphics/Transitions.h"
#include "screens/ChoiceBar.h"
#include "script/ChoiceItems.h"
#include "script/Commands.h"
#include "script/Interpreter.h"
#include "script/ScriptFile.h"
#include "script/commands/CommandToolkit.h"

namespace qv::script {

namespace {

enum class ReadEnd { EndLine, ScriptEnd, Error };

enum class ConditionTable { EventFlags, RecordFlags, ImageSeenFlags };

bool Offered(script::Engine& engine, ConditionTable table, int32_t condition) {
  if (condition == 0) return true;
  switch (table) {
    case ConditionTable::EventFlags:
      return engine.script.state.EventFlag(condition) == 1;
    case ConditionTable::RecordFlags:
    case ConditionTable::ImageSeenFlags: {
      // Flags are numbered 1-19; other numbers name no flag and are not offered.
      if (condition < 1 || condition > static_cast<int32_t>(core::EnvSettings::kFlagCount)) {
        return false;
      }
      auto& flags = table == ConditionTable::RecordFlags ? engine.services.env.recordFlags
                                                         : engine.services.env.imageSeenFlags;
      return flags[static_cast<size_t>(condition - 1)] == 1;
    }
  }
  return false;
}

void ReportRangeError(script::Engine& engine) {
  core::ShowWarning(engine.services, texts::kChoiceRangeError);
}

// Reads item lines from the script position (each leaves the position on its CR) until the end
// line or the end of the script. `parse` fills an item from a non-empty line; `onKept` runs for
// every item the condition lets in, after it is in the table.
template <typename Parse, typename OnKept>
ReadEnd ReadItems(script::Engine& engine, std::string_view endWord, bool emptyLineIsItem,
                  ConditionTable table, Parse parse, OnKept onKept) {
  auto& choices = engine.script.choices;
  for (;;) {
    StopIfClosing(engine);
    auto script = engine.script.Text();
    const std::string line = ReadLine(*script, engine.script.position);
    if (core::ContainsBytes(line, endWord)) return ReadEnd::EndLine;
    ParsedItem parsed;
    bool isItem = true;
    if (line.empty()) {
      isItem = emptyLineIsItem;
    } else if (!parse(line, parsed)) {
      ReportRangeError(engine);
      return ReadEnd::Error;
    }
    if (isItem && Offered(engine, table, parsed.condition)) {
      // The table has room for 48; a further item is refused like a malformed one.
      if (choices.count >= core::ChoiceTable::kCapacity) {
        ReportRangeError(engine);
        return ReadEnd::Error;
      }
      const int index = choices.count;
      choices.items[static_cast<size_t>(index)] = parsed.item;
      onKept(index, parsed);
      choices.count = index + 1;
    }
    engine.script.position += 2;
    if (ScriptByte(*script, engine.script.position.load()) == core::ScriptText::kEndMarker) {
      return ReadEnd::ScriptEnd;
    }
  }
}

void StartList(script::Engine& engine) {
  engine.input.screenMode = core::ScreenMode::Choice;
  engine.script.choices.Clear();
  engine.view.waitCursorOn = 0;
}

// Highlights the item under the pointer at once.
void SendPointerPosition(script::Engine& engine) {
  platform::Message move;
  move.id = platform::MSG_MOUSEMOVE;
  move.lParam = engine.services.platform.window.CursorPosition();
  core::SendToWindow(engine.services, move);
}

void HaltForPick(script::Engine& engine) {
  if (engine.services.platform.log.Enabled()) {
    engine.services.Log("choice " + std::to_string(engine.script.choices.count) + " items");
  }
  engine.script.gate.SuspendSelf(core::HaltReason::Choice);
  if (std::optional<std::string> label = engine.script.gate.TakePick()) {
    if (!JumpToPick(engine, *label)) return;
  }
  // The position is on the picked label line's first byte, or where a load put it; the loop's
  // step of 2 must land on that line, which is then passed over as a label.
  engine.script.position -= 2;
}

int BuildAreaChoices(script::Engine& engine) {
  StartList(engine);
  const ReadEnd end = ReadItems(engine, "selend", true, ConditionTable::EventFlags, ParseAreaItem,
                                [](int, const ParsedItem&) {});
  if (end != ReadEnd::EndLine) return 0;
  engine.input.inputBusy = 0;
  SendPointerPosition(engine);
  return 1;
}

int BuildWordChoices(script::Engine& engine) {
  StartList(engine);
  graphics::BuildMessageWindow(engine.view, 2);
  auto place = [&engine](int i, const ParsedItem& parsed) {
    core::ChoiceItem& item = engine.script.choices.items[static_cast<size_t>(i)];
    item.left = static_cast<int16_t>(240 + i);
    item.right = static_cast<int16_t>(640 + i);
    item.top = static_cast<int16_t>(70 + 50 * i);
    item.bottom = static_cast<int16_t>(105 + 50 * i);
    screens::DrawChoiceBar(engine.view, engine.script.choices, parsed.text, i);
  };
  const ReadEnd end =
      ReadItems(engine, "selend", false, ConditionTable::EventFlags, ParseWordItem, place);
  if (end == ReadEnd::Error) return 0;
  engine.view.ResetTextPosition();
  if (end == ReadEnd::ScriptEnd) return 1;
  engine.view.screen.PutAll(engine.view.sceneSurface);
  engine.script.position += 2;
  SendPointerPosition(engine);
  return 1;
}

int BuildFlagChoices(script::Engine& engine, bool useRecordFlags) {
  StartList(engine);
  const ConditionTable table =
      useRecordFlags ? ConditionTable::RecordFlags : ConditionTable::ImageSeenFlags;
  const ReadEnd end =
      ReadItems(engine, "$flagselend", true, table, ParseFlagItem, [](int, const ParsedItem&) {});
  if (end == ReadEnd::Error) return 0;
  if (end == ReadEnd::EndLine) engine.script.position += 2;
  return 1;
}

int ShowFlagChoices(script::Engine& engine, bool useRecordFlags, const std::string& basePath,
                    const std::string& unlockedPath, const std::string& hoverPath) {
  BuildFlagChoices(engine, useRecordFlags);
  auto& g = engine.view;
  const auto base = graphics::LoadAreaPicture(engine.view, basePath);
  if (!base) return 0;
  const auto unlocked = graphics::LoadAreaPicture(engine.view, unlockedPath);
  if (!unlocked) return 0;
  core::CopyAll(g.sceneSurface, base->pixels);
  const auto& choices = engine.script.choices;
  for (int i = 0; i < choices.count; ++i) {
    const core::ChoiceItem& item = choices.items[static_cast<size_t>(i)];
    core::CopyRect(g.sceneSurface, item.left, item.top, unlocked->pixels, item.left, item.top,
                   item.right - item.left, item.bottom - item.top);
  }
  engine.view.messageWindowShown = 0;
  graphics::PresentScene(engine.view, engine.view.NextTransition());
  {
    core::InputBusy busy(engine.input);
    graphics::LoadAreaImage(engine.view, hoverPath);
  }
  SendPointerPosition(engine);
  return 1;
}

}  // namespace

void Selarea(script::Engine& engine, std::string_view line) {
  if (engine.input.advanceMode == core::AdvanceMode::Skip)
    core::SetSkipMode(engine.input, engine.services.env, engine.script.gate, false);
  {
    core::InputBusy busy(engine.input);
    engine.script.position += 2;
    graphics::LoadAreaImage(engine.view, std::string(ArgumentText(line)));
    BuildAreaChoices(engine);
    engine.input.screenMode = core::ScreenMode::Choice;
  }
  HaltForPick(engine);
}

void Selword(script::Engine& engine, std::string_view) {
  {
    core::InputBusy busy(engine.input);
    engine.script.position += 2;
    BuildWordChoices(engine);
    engine.view.messageWindowActive = 1;
    engine.view.messageWindowShown = 1;
    if (engine.input.advanceMode == core::AdvanceMode::Skip)
      core::SetSkipMode(engine.input, engine.services.env, engine.script.gate, false);
    platform::Message paint;
    paint.id = platform::MSG_PAINT;
    engine.services.platform.window.Post(paint);
  }
  HaltForPick(engine);
}

void Flagselect(script::Engine& engine, std::string_view line) {
  if (engine.input.advanceMode == core::AdvanceMode::Skip)
    core::SetSkipMode(engine.input, engine.services.env, engine.script.gate, false);
  {
    core::InputBusy busy(engine.input);
    const bool useRecordFlags = !core::ContainsBytes(line, "CGMODE");
    std::string paths[3];
    const bool parsed = ParseFlagPictures(line, paths);
    bool fit = true;
    for (const std::string& path : paths) fit = fit && path.size() <= core::kMaxPathBytes;
    if (parsed && fit) {
      ShowFlagChoices(engine, useRecordFlags, paths[0], paths[1], paths[2]);
    } else {
      // No list can be shown; an old one must not stay clickable.
      StartList(engine);
      if (!parsed) {
        ReportRangeError(engine);
      } else if (engine.services.platform.log.Enabled()) {
        engine.services.Log("path too long " + engine.services.Utf8(line));
      }
    }
    engine.script.position += 2;
  }
  HaltForPick(engine);
}

}  // namespace qv::script
