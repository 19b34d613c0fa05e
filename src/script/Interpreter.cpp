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
void WaitForClick(core::Engine& engine, bool withCursor) {
  if (engine.advanceMode == 0) {
    if (withCursor) engine.waitCursorOn = 1;
    engine.gate.SuspendSelf(core::HaltReason::Wait);
  }
  if (engine.advanceMode == 3) {
    auto& clock = engine.platform.clock;
    while (engine.voicePlayer.Playing()) clock.sleep(1);
    clock.sleep(500);
  }
}

void StopForClick(core::Engine& engine) {
  engine.clickEndsAuto = 0;
  engine.gate.SuspendSelf(core::HaltReason::Stop);
  engine.clickEndsAuto = 1;
  if (engine.advanceMode == 1) engine.advanceMode = 0;
}

void Dispatch(core::Engine& engine, std::string_view line) {
  const Command* command = FindCommand(line);
  if (!command) {
    core::ShowWarning(engine, core::texts::kUnknownCommand);
    return;
  }
  if (command->handler) {
    command->handler(engine, line);
  } else if (engine.platform.log.Enabled()) {
    engine.Log("unhandled " + std::string(command->keyword));
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

void ExecuteLine(core::Engine& engine, std::string_view line) {
  bool waited = false;
  if (core::ContainsBytes(line, "$C")) {
    WaitForClick(engine, true);
    waited = true;
  }
  if (core::ContainsBytes(line, "$P")) {
    engine.newPageRequested = 1;
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
      std::string text = PutNameIn(line, engine.state.Text(core::GameState::kPlayerNameOffset,
                                                           core::GameState::kPlayerNameSize));
      screens::ShowTextLine(engine, text);
      return;
    }
  }
}

void StopIfClosing(const core::Engine& engine) {
  if (engine.closing && platform::Clock::ThreadIsInterruptible()) throw platform::StopSignal{};
}

void ScriptInterpreter(core::Engine& engine) {
  bool end = false;
  while (!end) {
    StopIfClosing(engine);
    auto script = engine.Script();
    std::string line = ReadLine(*script, engine.scriptPosition);
    if (ScriptByte(*script, engine.scriptPosition.load()) == core::ScriptText::kEndMarker) {
      end = true;
      engine.scriptPosition -= 2;
    }
    if (!line.empty()) ExecuteLine(engine, line);
    engine.scriptPosition += 2;
  }
  core::RequestClose(engine);
}

void RunInterpreterThread(core::Engine& engine) {
  auto& clock = engine.platform.clock;
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

int RestartScript(core::Engine& engine) {
  // A script that can no longer be read keeps the text already loaded: the title still works.
  LoadScript(engine);
  // Set through the clock so a line waiting out a character's time wakes at once. The next line
  // clears it, not this function: clearing it here could come before the typing line looks.
  engine.platform.clock.update([&] { engine.abortTextOutput = 1; });
  if (screens::IsSaveLoadScreen(engine.screenMode)) screens::FreeSaveLoadBackups(engine);
  engine.messageWindowShown = 0;
  engine.messageWindowActive = 0;
  engine.newPageRequested = 0;
  engine.waitCursorOn = 0;
  engine.screenMode = 0;
  engine.advanceMode = 0;
  // A syncstart stretch ends with the script it was in; left set, it would ignore every click.
  engine.syncActive = 0;
  engine.scriptPosition = 0;
  engine.ResetTextPosition();
  engine.gate.Resume();
  return 1;
}

}  // namespace qv::script
