// The name-entry dialog: the player's name, at most 10 bytes of Shift-JIS.
#pragma once

#include <string>

#include "core/GameState.h"
#include "core/Services.h"
#include "platform/Ui.h"

namespace qv::core {

namespace texts {
inline constexpr const char* kNameEntryCaption = "名前の入力";
inline constexpr const char* kNameEntryPrompt = "名前を全角5文字以内で入力してください。";
inline constexpr const char* kDefaultPlayerName = "晴臣";
inline constexpr const char* kNameTooLong = "全角5文字を超えています";
inline constexpr const char* kNameErrorCaption = "エラー";
inline constexpr const char* kNameNotShiftJis = "この文字は名前に使えません";
}  // namespace texts

inline constexpr size_t kMaxNameBytes = 10;

// What the dialog's OK does with `utf8`: a name that fits is stored in the game state and
// accepted; one longer than 10 Shift-JIS bytes is refused with its message and the box emptied; a
// character Shift-JIS cannot hold is refused with a message and the text kept for correcting.
// Window thread (it shows its messages as boxes over the dialog).
platform::NameVerdict OfferName(Services& services, GameState& state, const std::string& utf8);

// Runs the dialog modally on the window thread (from the interpreter thread through it). Returns
// 1 when a name was accepted, 2 when the dialog was closed by its close box (the name unchanged).
int RunNameEntry(Services& services, GameState& state);

}  // namespace qv::core
