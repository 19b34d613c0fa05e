// The game controllers plugged in, opened through SDL's game controller API, and their buttons
// and left stick as the engine's pad buttons.
#pragma once

#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <vector>

#include "platform/Message.h"

namespace qv::platform::sdl {

// The left stick's travel (of 32767) past which a direction is pressed, and below which a pressed
// direction is let go again. The gap keeps a stick resting near the threshold from chattering.
inline constexpr int kStickPress = 16000;
inline constexpr int kStickRelease = 8000;

// Window thread only. Needs SDL's game controller subsystem to open anything; without it the
// events it is given are still translated.
class Gamepads {
 public:
  Gamepads() = default;
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  static bool IsPadEvent(const SDL_Event& event);

  // Opens a controller that was plugged in, closes one that went, and appends to `out` the
  // MSG_PAD_BUTTON releases and presses the event makes, releases first. A button counts as
  // pressed while any pad holds it (by the button, or by the stick for the directions); a pad that
  // goes lets go of whatever it held.
  void Translate(const SDL_Event& event, std::vector<Message>& out);

  // Some controller is open.
  bool AnyPlugged() const;

 private:
  // What holds a pad button down: the button itself, or for the four directions the stick.
  static constexpr size_t kStickSources = 4;
  using Sources = std::bitset<kPadButtonCount + kStickSources>;

  struct Pad {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;  // null for a pad seen only by its events
    Sources held;
    int stickX = 0;  // -1 left, 0 centre, 1 right
    int stickY = 0;  // -1 up, 0 centre, 1 down
  };

  std::bitset<kPadButtonCount> Pressed() const;
  Pad& PadFor(SDL_JoystickID id);
  void Open(int deviceIndex);
  void Remove(SDL_JoystickID id);
  void MoveStick(Pad& pad, uint8_t axis, int value);

  std::vector<Pad> pads_;
};

}  // namespace qv::platform::sdl
