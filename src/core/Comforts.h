// What this engine adds to the original's play (keyboard and gamepad, the wheel, the backlog,
// read marks, the text hook), and the player's settings for it.
#pragma once

#include <atomic>

namespace qv::core {

// Where each text line goes as it appears, for translation tools, dictionaries and screen readers.
enum class TextHook { Off, Stdout, Clipboard };

struct Comforts {
  // Written before the interpreter starts and read-only afterwards. Off (--original), the engine
  // is the original's: nothing below acts, logs or touches a file.
  bool enabled = true;
  TextHook textHook = TextHook::Off;

  // The player's settings (their file beside the slots), either thread.
  std::atomic<bool> skipReadOnly{false};  // skip stops at the first line not yet read
};

}  // namespace qv::core
