// The interpreter thread: the line loop, the wait codes, text lines and command dispatch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "script/Engine.h"

namespace qv::script {

// "＊＊＊" in Shift-JIS: replaced by the player's name in text lines.
inline constexpr std::string_view kNamePlaceholder = "\x81\x96\x81\x96\x81\x96";

// Once closing has begun, throws StopSignal on the interpreter thread, as its waits do: a script
// that never waits (a jump back to itself, text at speed 0 in skip mode) must stop as well.
// Called by the line loop, the jumps and the item reading of the choices.
void StopIfClosing(const script::Engine& engine);

// The interpreter's loop; returns after the end of the script was reached and the close message
// was sent, or, without that message, after `lineLimit` lines (the fuzzers' bound on a script
// that loops). Interpreter thread; throws StopSignal when the program closes under it.
void ScriptInterpreter(script::Engine& engine, uint64_t lineLimit = UINT64_MAX);

// The interpreter thread's whole life: marks the thread, runs the loop, unwinds at close and
// tells the clock it has gone. Started by the shell after AddParticipant.
void RunInterpreterThread(script::Engine& engine);

// Executes one line (wait codes first, then label/comment, command or text).
void ExecuteLine(script::Engine& engine, std::string_view line);

// The text line after the first placeholder was replaced by the name, cut to the line buffer.
std::string PutNameIn(std::string_view line, std::string_view playerName);

// The return to the title: reloads the script and restarts it from the top. Window thread.
int RestartScript(script::Engine& engine);

}  // namespace qv::script
