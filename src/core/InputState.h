// How the game advances and which screen takes the player's input: shared by the two threads.
#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>

namespace qv::core {

// How the interpreter passes its waits. The numbers are those of the state dump.
enum class AdvanceMode : int32_t { Normal = 0, Skip = 1, Auto = 3 };

// What the window shows over the game and so where a click goes. The numbers are those of the
// state dump.
enum class ScreenMode : int32_t { Game = 0, Choice = 1, Save = 10, Load = 20, LoadTitle = 30 };

// Which set of on-screen elements the keyboard and gamepad focus is in. The numbers are those of
// the state dump.
enum class FocusSet : int32_t { None = 0, Choice = 1, Bar = 2, Slot = 3 };

// The save screen, the load screen from the button bar, the load screen from a title choice.
inline bool IsSaveLoadScreen(ScreenMode mode) {
  return mode == ScreenMode::Save || mode == ScreenMode::Load || mode == ScreenMode::LoadTitle;
}

struct InputState {
  // Either thread.
  std::atomic<AdvanceMode> advanceMode{AdvanceMode::Normal};
  std::atomic<int32_t> savedMessageSpeed{1};  // the message speed while skip mode types at 0
  std::atomic<ScreenMode> screenMode{ScreenMode::Game};
  std::atomic<ScreenMode> previousScreenMode{ScreenMode::Game};
  std::atomic<int32_t> inputBusy{0};      // 1 while a line's work must not be interrupted
  std::atomic<int32_t> clickEndsAuto{1};  // a click in auto mode turns it off
  std::atomic<int32_t> restoringGame{0};  // 1 while a loaded page is replayed
  std::atomic<int32_t> newPageRequested{0};
  std::atomic<int32_t> abortTextOutput{0};
  // Skip mode is on because the player holds Ctrl, so letting go ends it. SetSkipMode clears it,
  // so a skip turned on or off any other way is not the key's to end.
  std::atomic<bool> skipHeld{false};

  // Window thread only: the element of each set last under the pointer (99: none).
  int32_t hoveredBar = 99;
  int32_t hoveredSlot = 99;
  int32_t hoveredChoice = 99;

  // Window thread only: the element the keyboard or a gamepad moved to (a pick goes there); the
  // pointer's next move takes over again.
  FocusSet focusSet = FocusSet::None;
  int32_t focusIndex = 0;
  // Keys whose press the player input took: their release is not also a click.
  std::bitset<256> keysTaken;
};

// Keeps the player's input off while a piece of work runs: inputBusy is 1 from here to the end of
// the scope, and 0 after it on every way out, a stop signal thrown from a wait included. Not a
// nesting count: the inner scope's end clears it, as the work it guards always did.
class InputBusy {
 public:
  explicit InputBusy(InputState& input) : input_(input) { input_.inputBusy = 1; }
  ~InputBusy() { input_.inputBusy = 0; }
  InputBusy(const InputBusy&) = delete;
  InputBusy& operator=(const InputBusy&) = delete;

 private:
  InputState& input_;
};

}  // namespace qv::core
