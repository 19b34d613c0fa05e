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
      // Letters and digits follow the layout (French: the Q position types 'a'), the scan code
      // the position; modifiers other than Alt change nothing.
      {SDLK_a, SDL_SCANCODE_Q, 0, 0x41, 0xC0100001},
      {SDLK_z, SDL_SCANCODE_Z, 0, 0x5A, 0},
      {SDLK_9, SDL_SCANCODE_9, 0, 0x39, 0},
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
