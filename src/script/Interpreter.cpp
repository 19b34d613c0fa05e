// The interpreter thread (see Interpreter.h).
#include "script/Interpreter.h"

#include "core/TextRules.h"
#include "core/WindowRequests.h"
#include "platform/StopSignal.h"
#include "screens/SaveLoadScreen.h"
#include "screens/TextOutput.h"
#include "script/Commands.h"
#include "script/ScriptFile.h"

namespace qv::script {

namespace {

// The three wait codes that halt for a click; the cursor shows for $C and $P.
void WaitForClick(script::Engine& engine, bool withCursor) {
  if (engine.input.advanceMode == core::AdvanceMode::Normal) {
    if (withCursor) engine.view.waitCursorOn = 1;
    engine.script.gate.SuspendSelf(core::HaltReason::Wait);
  }
  if (engine.input.advanceMode == core::AdvanceMode::Auto) {
    auto& clock = engine.services.platform.clock;
    while (engine.audio.voicePlayer.Playing()) clock.sleep(1);
    clock.sleep(500);
  }
}

void StopForClick(script::Engine& engine) {
  engine.input.clickEndsAuto = 0;
  engine.script.gate.SuspendSelf(core::HaltReason::Stop);
  engine.input.clickEndsAuto = 1;
  if (engine.input.advanceMode == core::AdvanceMode::Skip)
    engine.input.advanceMode = core::AdvanceMode::Normal;
}

void Dispatch(script::Engine& engine, std::string_view line) {
  const Command* command = FindCommand(line);
  if (!command) {
    core::ShowWarning(engine.services, core::texts::kUnknownCommand);
    return;
  }
  if (command->handler) {
    command->handler(engine, line);
  } else if (engine.services.platform.log.Enabled()) {
    engine.services.Log("unhandled " + std::string(command->keyword));
  }
}

}  // namespace

std::string PutNameIn(std::string_view line, std::string_view playerName) {
  size_t at = line.find(kNamePlaceholder);
  if (at == std::string_view::npos) return std::string(line);
  std::string out;
  out.reserve(line.size() + playerName.size());
  out.append(line.substr(0, at));
  out.append(playerName);
  out.append(line.substr(at + kNamePlaceholder.size()));
  return std::string(core::CutAtCharBoundary(out, kMaxLineBytes));
}

void ExecuteLine(script::Engine& engine, std::string_view line) {
  bool waited = false;
  if (core::ContainsBytes(line, "$C")) {
    WaitForClick(engine, true);
    waited = true;
  }
  if (core::ContainsBytes(line, "$P")) {
    engine.input.newPageRequested = 1;
    WaitForClick(engine, true);
    waited = true;
  }
  if (core::ContainsBytes(line, "$W")) {
    WaitForClick(engine, false);
    waited = true;
  }
  if (core::ContainsBytes(line, "$S")) {
    StopForClick(engine);
    return;
  }
  if (waited) return;
  switch (line[0]) {
    case '$':
      Dispatch(engine, line);
      return;
    case ':':
    case ';':
      return;
    default: {
      std::string text =
          PutNameIn(line, engine.script.state.Text(core::GameState::kPlayerNameOffset,
                                                   core::GameState::kPlayerNameSize));
      if (engine.services.comforts.enabled)
        engine.history.AddLine(screens::NewPageDue(engine.view), text);
      screens::ShowTextLine(engine.view, text);
      return;
    }
  }
}

void StopIfClosing(const script::Engine& engine) {
  if (engine.services.closing && platform::Clock::ThreadIsInterruptible())
    throw platform::StopSignal{};
}

void ScriptInterpreter(script::Engine& engine, uint64_t lineLimit) {
  bool end = false;
  for (uint64_t lines = 0; !end; ++lines) {
    if (lines == lineLimit) return;
    StopIfClosing(engine);
    auto script = engine.script.Text();
    std::string line = ReadLine(*script, engine.script.position);
    if (ScriptByte(*script, engine.script.position.load()) == core::ScriptText::kEndMarker) {
      end = true;
      engine.script.position -= 2;
    }
    if (!line.empty()) ExecuteLine(engine, line);
    engine.script.position += 2;
  }
  core::RequestClose(engine.services);
}

void RunInterpreterThread(script::Engine& engine) {
  auto& clock = engine.services.platform.clock;
  platform::Clock::MarkThreadInterruptible();
  try {
    ScriptInterpreter(engine);
    // The close handling stops this thread while the close message is being handled; if the
    // send came back anyway, there is nothing left to do but wait for that stop.
    clock.await(nullptr, std::nullopt);
  } catch (const platform::StopSignal&) {
  }
  clock.RemoveParticipant();
}

int RestartScript(script::Engine& engine) {
  // A script that can no longer be read keeps the text already loaded: the title still works.
  LoadScript(engine);
  // Set through the clock so a line waiting out a character's time wakes at once. The next line
  // clears it, not this function: clearing it here could come before the typing line looks.
  engine.services.platform.clock.update([&] { engine.input.abortTextOutput = 1; });
  if (core::IsSaveLoadScreen(engine.input.screenMode))
    screens::FreeSaveLoadBackups(engine.saveLoad);
  engine.view.messageWindowShown = 0;
  engine.view.messageWindowActive = 0;
  engine.input.newPageRequested = 0;
  engine.view.waitCursorOn = 0;
  engine.input.screenMode = core::ScreenMode::Game;
  engine.input.advanceMode = core::AdvanceMode::Normal;
  // A syncstart stretch ends with the script it was in; left set, it would ignore every click.
  engine.script.syncActive = 0;
  engine.script.position = 0;
  engine.view.ResetTextPosition();
  engine.script.gate.Resume();
  return 1;
}

}  // namespace qv::script
