// The script's command handlers and the ordered keyword table that selects them.
#pragma once

#include <array>
#include <string_view>

#include "core/Engine.h"

namespace qv::script {

// A handler receives the whole command line (without its CR LF). The line is at most 1023 bytes.
using CommandHandler = void (*)(core::Engine& engine, std::string_view line);

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
void NameEntry(core::Engine& engine, std::string_view line);

// Choices: the list goes up and the interpreter halts until an item is picked.
void Selarea(core::Engine& engine, std::string_view line);
void Selword(core::Engine& engine, std::string_view line);
void Flagselect(core::Engine& engine, std::string_view line);

// Flags, points and jumps.
void Flagreset(core::Engine& engine, std::string_view line);
void Jmp(core::Engine& engine, std::string_view line);
void Returnto(core::Engine& engine, std::string_view line);
void Eventflag(core::Engine& engine, std::string_view line);
void Eventjudge(core::Engine& engine, std::string_view line);
void Pointflag(core::Engine& engine, std::string_view line);
void Pointjudge(core::Engine& engine, std::string_view line);
void Random(core::Engine& engine, std::string_view line);
void Recflag(core::Engine& engine, std::string_view line);

// Finds `search` (":" + label) in the script and leaves the position on the CR of that line, so
// the interpreter continues after it. On failure shows `message` and closes the program.
// Returns 1 when found, 0 after an error.
int JumpToLabel(core::Engine& engine, std::string_view search, std::string_view message);

// Picture commands.
void Brightness(core::Engine& engine, std::string_view line);
void Subeffect(core::Engine& engine, std::string_view line);
void Effect(core::Engine& engine, std::string_view line);
void Maskefct(core::Engine& engine, std::string_view line);
void Spralpha(core::Engine& engine, std::string_view line);
void Alphadepth(core::Engine& engine, std::string_view line);
void Imgblt(core::Engine& engine, std::string_view line);
void Blt(core::Engine& engine, std::string_view line);
void Fill(core::Engine& engine, std::string_view line);
void Sprite(core::Engine& engine, std::string_view line);
void Windowopen(core::Engine& engine, std::string_view line);
void Windowclose(core::Engine& engine, std::string_view line);

// Sound commands.
void OggPlay(core::Engine& engine, std::string_view line);
void Talk(core::Engine& engine, std::string_view line);
void Cdda(core::Engine& engine, std::string_view line);
void BgmWave(core::Engine& engine, std::string_view line);
void Wave(core::Engine& engine, std::string_view line);

// Timing, status and bookkeeping commands.
void Wait(core::Engine& engine, std::string_view line);
void Syncstart(core::Engine& engine, std::string_view line);
void Syncexit(core::Engine& engine, std::string_view line);
void Synctiming(core::Engine& engine, std::string_view line);
void Statuswindow(core::Engine& engine, std::string_view line);
void Statusctrl(core::Engine& engine, std::string_view line);
void Statetitle(core::Engine& engine, std::string_view line);
void ExitGame(core::Engine& engine, std::string_view line);
// The player's name from slot 1 (see SavedGames.h).
void RecNameLoad(core::Engine& engine, std::string_view line);
void Nothing(core::Engine& engine, std::string_view line);

}  // namespace qv::script
