// Saved games: the game-state record written into a slot file, and read back into a running game
// that resumes at the very line where it was saved. Window thread, unless said otherwise.
#pragma once

#include "script/Engine.h"

namespace qv::script {

namespace texts {
inline constexpr const char* kOverwriteQuestion = "上書きしてもよろしいですか？";
inline constexpr const char* kLoadFailed = "ロードに失敗しました";
}  // namespace texts

// Writes the game state into slot `slot` (1-12), asking before it replaces a saved game: 1 when
// written or when the player kept the old one, 0 after a failure (with its message). Logs
// "save K -> written|kept|failed".
int SaveGame(script::Engine& engine, int slot);

// Replaces the running game by slot `slot`: the file is checked first, so one that cannot be
// loaded leaves the game exactly as it was (0, after "ロードに失敗しました" unless the save folder
// is missing). Rebuilds music, scene and page and lets the interpreter go on: 1. Logs
// "load K -> ok|failed". The interpreter must be halted.
int LoadGame(script::Engine& engine, int slot);

// Repeats the fill the state's background name names.
int RestoreFill(script::Engine& engine);

// Sets the script position for the loaded game and replays its page up to the saved line, so
// the interpreter halts there again with the page's text on screen, in normal mode whatever the
// player's advance mode. Logs "resume P replay|direct". 2 when the replay ended in a list the
// page puts up (the interpreter then waits there for a pick, not to be resumed), else 1.
int FindResumePoint(script::Engine& engine);

// The player's name from slot 1, or "晴臣" without one: 1 when slot 1 was read. Any thread.
int LoadRecordedName(script::Engine& engine);

}  // namespace qv::script
