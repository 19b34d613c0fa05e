// Translation of SDL keys into the virtual-key codes and key-message parameters the engine knows.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

namespace qv::platform::sdl {

struct KeyMessage {
  uint32_t virtualKey = 0;  // wParam
  uint32_t lParam = 0;      // repeat count 1, scan code, extended flag, previous state, transition
};

// The key-up message a release of this key sends, or none when a Windows window would not
// get a plain key-up for it: keys it has no code for, Alt and F10 (and anything released with
// Alt held), which arrive as system keys instead.
std::optional<KeyMessage> TranslateKeyRelease(SDL_Keycode key, SDL_Scancode scancode,
                                              uint16_t modifiers);

// The key-down message of a first press: the release's virtual key and scan code, without the
// release's previous-state and transition bits. None for the keys that have no release message.
std::optional<KeyMessage> TranslateKeyPress(SDL_Keycode key, SDL_Scancode scancode,
                                            uint16_t modifiers);

}  // namespace qv::platform::sdl
