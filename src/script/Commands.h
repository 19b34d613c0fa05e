// The script's command handlers and the ordered keyword table that selects them.
#pragma once

#include <array>
#include <string_view>

#include "script/Engine.h"

namespace qv::script {

// A handler receives the whole command line (without its CR LF). The line is at most 1023 bytes.
using CommandHandler = void (*)(script::Engine& engine, std::string_view line);

struct Command {
  std::string_view keyword;
  CommandHandler handler;  // null: the subsystem is not in this build yet ("unhandled WORD")
};

// The 41 keywords in the order they are tested; each is a case-sensitive substring test over the
// whole line, and the first one found wins. The order is part of the script language.
const std::array<Command, 41>& CommandTable();

// The first entry whose keyword occurs in `line`, or null.
const Command* FindCommand(std::string_view line);

// The name-entry dialog, run on the window thread; the script goes on when it closes.
void NameEntry(script::Engine& engine, std::string_view line);

// Choices: the list goes up and the interpreter halts until an item is picked.
void Selarea(script::Engine& engine, std::string_view line);
void Selword(script::Engine& engine, std::string_view line);
void Flagselect(script::Engine& engine, std::string_view line);

// Flags, points and jumps.
void Flagreset(script::Engine& engine, std::string_view line);
void Jmp(script::Engine& engine, std::string_view line);
void Returnto(script::Engine& engine, std::string_view line);
void Eventflag(script::Engine& engine, std::string_view line);
void Eventjudge(script::Engine& engine, std::string_view line);
void Pointflag(script::Engine& engine, std::string_view line);
void Pointjudge(script::Engine& engine, std::string_view line);
void Random(script::Engine& engine, std::string_view line);
void Recflag(script::Engine& engine, std::string_view line);

// Finds `search` (":" + label) in the script and leaves the position on the CR of that line, so
// the interpreter continues after it. On failure shows `message` and closes the program.
// Returns 1 when found, 0 after an error.
int JumpToLabel(script::Engine& engine, std::string_view search, std::string_view message);
// Puts the position on the first byte of the picked item's label line (":" + label). When the
// script has no such line, shows it and closes the program, and returns 0.
int JumpToPick(script::Engine& engine, std::string_view label);

// Picture commands.
void Brightness(script::Engine& engine, std::string_view line);
void Subeffect(script::Engine& engine, std::string_view line);
void Effect(script::Engine& engine, std::string_view line);
void Maskefct(script::Engine& engine, std::string_view line);
void Spralpha(script::Engine& engine, std::string_view line);
void Alphadepth(script::Engine& engine, std::string_view line);
void Imgblt(script::Engine& engine, std::string_view line);
void Blt(script::Engine& engine, std::string_view line);
void Fill(script::Engine& engine, std::string_view line);
void Sprite(script::Engine& engine, std::string_view line);
void Windowopen(script::Engine& engine, std::string_view line);
void Windowclose(script::Engine& engine, std::string_view line);

// Sound commands.
void OggPlay(script::Engine& engine, std::string_view line);
void Talk(script::Engine& engine, std::string_view line);
void Cdda(script::Engine& engine, std::string_view line);
void BgmWave(script::Engine& engine, std::string_view line);
void Wave(script::Engine& engine, std::string_view line);

// Timing, status and bookkeeping commands.
void Wait(script::Engine& engine, std::string_view line);
void Syncstart(script::Engine& engine, std::string_view line);
void Syncexit(script::Engine& engine, std::string_view line);
void Synctiming(script::Engine& engine, std::string_view line);
void Statuswindow(script::Engine& engine, std::string_view line);
void Statusctrl(script::Engine& engine, std::string_view line);
void Statetitle(script::Engine& engine, std::string_view line);
void ExitGame(script::Engine& engine, std::string_view line);
// The player's name from slot 1 (see SavedGames.h).
void RecNameLoad(script::Engine& engine, std::string_view line);
void Nothing(script::Engine& engine, std::string_view line);

}  // namespace qv::script
