// Requests any engine thread makes of the window: message boxes and the close message.
#pragma once

#include <string>

#include "core/Services.h"

namespace qv::core {

// The engine's fixed texts, as the player sees them.
namespace texts {
inline constexpr const char* kConfirmCaption = "確認";
inline constexpr const char* kNoScript = "スクリプトファイルが見つかりません。";
inline constexpr const char* kUnknownCommand = "認識できないコマンドです";
inline constexpr const char* kQuitQuestion = "終了します。";
inline constexpr const char* kTitleQuestion = "タイトルに戻ります";
inline constexpr const char* kSaveFailed = "セーブに失敗しました";
inline constexpr const char* kSaveFolderFailed = "セーブフォルダの作成に失敗しました";
}  // namespace texts

// Shows a message box (UTF-8 texts) from whichever thread asks: on the window thread (or before
// the window exists) directly, from the interpreter thread through the window thread, which
// keeps all UI on one thread. Interpreter thread: throws StopSignal when closing.
platform::BoxAnswer ShowMessage(Services& services, const std::string& caption,
                                const std::string& text, platform::BoxButtons buttons,
                                platform::BoxIcon icon);

// The failure box every file, folder and script error uses: window name, warning icon, OK.
void ShowWarning(Services& services, const std::string& textUtf8);

// Hands `message` to the window procedure and returns its result: straight through on the
// window thread, as a synchronous send from any other.
int32_t SendToWindow(Services& services, const platform::Message& message);

// Sends the close message (the program ends through the window's close handling).
void RequestClose(Services& services);

}  // namespace qv::core
