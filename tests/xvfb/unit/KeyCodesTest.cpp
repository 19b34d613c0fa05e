// Tests for the translation of SDL key releases into virtual keys and key-up parameters.
#include "platform/sdl/KeyCodes.h"

#include <gtest/gtest.h>

#include "platform/Message.h"

namespace qv::platform::sdl {
namespace {

TEST(KeyCodesTest, ReleasesBecomeVirtualKeysWithTheKeyUpBitsOrNothing) {
  const struct {
    SDL_Keycode key;
    SDL_Scancode scancode;
    uint16_t mods;
    uint32_t virtualKey;  // 0: no plain key-up
    uint32_t lParam;      // 0: not pinned
  } cases[] = {
      // Repeat count 1, the scan code, previous state and transition bits.
      {SDLK_RETURN, SDL_SCANCODE_RETURN, 0, 0x0D, 0xC01C0001},
      {SDLK_SPACE, SDL_SCANCODE_SPACE, 0, 0x20, 0xC0390001},
      // Letters follow the layout (French: the Q position types 'a'), the scan code the position.
      {SDLK_a, SDL_SCANCODE_Q, 0, 0x41, 0xC0100001},
      {SDLK_z, SDL_SCANCODE_Z, 0, 0x5A, 0},
      {SDLK_0, SDL_SCANCODE_0, 0, 0x30, 0},
      {SDLK_9, SDL_SCANCODE_9, 0, 0x39, 0},
      {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 0x1B, 0},
      {SDLK_DOWN, SDL_SCANCODE_DOWN, 0, 0x28, 0},
      {SDLK_F1, SDL_SCANCODE_F1, 0, 0x70, 0},
      {SDLK_F12, SDL_SCANCODE_F12, 0, 0x7B, 0},
      {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0, 0x11, 0},
      {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0, 0x10, 0},
      {SDLK_KP_5, SDL_SCANCODE_KP_5, 0, 0x65, 0},
      {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0, 0xBA, 0},
      {SDLK_x, SDL_SCANCODE_X, KMOD_LSHIFT, 0x58, 0},
      // Extended keys set the extended bit.
      {SDLK_LEFT, SDL_SCANCODE_LEFT, 0, 0x25, 0xC14B0001},
      {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, 0x0D, 0xC11C0001},
      {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 0, VK_SNAPSHOT, 0xC1370001},
      // System keys and keys without a code.
      {SDLK_LALT, SDL_SCANCODE_LALT, 0, 0, 0},
      {SDLK_RALT, SDL_SCANCODE_RALT, 0, 0, 0},
      {SDLK_F10, SDL_SCANCODE_F10, 0, 0, 0},
      {SDLK_x, SDL_SCANCODE_X, KMOD_LALT, 0, 0},
      {SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, 0, 0, 0},
      {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(SDL_GetScancodeName(c.scancode)) + " mods " + std::to_string(c.mods));
    const auto release = TranslateKeyRelease(c.key, c.scancode, c.mods);
    ASSERT_EQ(release.has_value(), c.virtualKey != 0);
    if (!release) continue;
    EXPECT_EQ(release->virtualKey, c.virtualKey);
    if (c.lParam) {
      EXPECT_EQ(release->lParam, c.lParam);
    }
    // The engine hands a key's lParam to the click routine as a position: it must never look
    // like a point inside the frame.
    EXPECT_LT(PointY(release->lParam), 0);
  }
}

}  // namespace
}  // namespace qv::platform::sdl
