// Tests for the translation of SDL key releases into virtual keys and key-up parameters.
#include "platform/sdl/KeyCodes.h"

#include <gtest/gtest.h>

#include "platform/Message.h"

namespace qv::platform::sdl {
namespace {

std::optional<KeyRelease> Release(SDL_Keycode key, SDL_Scancode scancode, uint16_t mods = 0) {
  return TranslateKeyRelease(key, scancode, mods);
}

TEST(KeyCodesTest, ReturnCarriesItsScanCodeAndTheKeyUpBits) {
  const auto release = Release(SDLK_RETURN, SDL_SCANCODE_RETURN);
  ASSERT_TRUE(release);
  EXPECT_EQ(release->virtualKey, 0x0Du);
  // Repeat count 1, scan code 0x1C, previous state and transition bits set.
  EXPECT_EQ(release->lParam, 0xC01C0001u);
}

TEST(KeyCodesTest, TheKeyUpParameterNeverLooksLikeAPointInsideTheFrame) {
  // The engine hands a key's lParam to the click routine as a position; y is its high half.
  const auto release = Release(SDLK_SPACE, SDL_SCANCODE_SPACE);
  ASSERT_TRUE(release);
  EXPECT_EQ(release->virtualKey, 0x20u);
  EXPECT_LT(PointY(release->lParam), 0);
  EXPECT_EQ(PointX(release->lParam), 1);
}

TEST(KeyCodesTest, LettersAndDigitsFollowTheLayout) {
  // On a French layout the key in the Q position types 'a': it is VK 'A'.
  const auto a = Release(SDLK_a, SDL_SCANCODE_Q);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->virtualKey, 0x41u);
  EXPECT_EQ((a->lParam >> 16) & 0xFF, 0x10u);  // the scan code stays the key's position
  EXPECT_EQ(Release(SDLK_z, SDL_SCANCODE_Z)->virtualKey, 0x5Au);
  EXPECT_EQ(Release(SDLK_0, SDL_SCANCODE_0)->virtualKey, 0x30u);
  EXPECT_EQ(Release(SDLK_9, SDL_SCANCODE_9)->virtualKey, 0x39u);
}

TEST(KeyCodesTest, CommonKeysHaveTheirVirtualKeys) {
  const std::pair<SDL_Scancode, uint32_t> keys[] = {
      {SDL_SCANCODE_ESCAPE, 0x1B}, {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_DOWN, 0x28},
      {SDL_SCANCODE_F1, 0x70},     {SDL_SCANCODE_F12, 0x7B},  {SDL_SCANCODE_RCTRL, 0x11},
      {SDL_SCANCODE_RSHIFT, 0x10}, {SDL_SCANCODE_KP_5, 0x65}, {SDL_SCANCODE_SEMICOLON, 0xBA}};
  for (const auto& [scancode, virtualKey] : keys) {
    const auto release = Release(SDL_GetKeyFromScancode(scancode), scancode);
    ASSERT_TRUE(release) << SDL_GetScancodeName(scancode);
    EXPECT_EQ(release->virtualKey, virtualKey) << SDL_GetScancodeName(scancode);
  }
}

TEST(KeyCodesTest, PrintScreenIsTheSnapshotKeyAndExtended) {
  const auto release = Release(SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN);
  ASSERT_TRUE(release);
  EXPECT_EQ(release->virtualKey, VK_SNAPSHOT);
  EXPECT_EQ(release->lParam, 0xC1370001u);
}

TEST(KeyCodesTest, ExtendedKeysSetTheExtendedBit) {
  EXPECT_EQ(Release(SDLK_LEFT, SDL_SCANCODE_LEFT)->lParam, 0xC14B0001u);
  const auto keypadEnter = Release(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
  EXPECT_EQ(keypadEnter->virtualKey, 0x0Du);
  EXPECT_EQ(keypadEnter->lParam, 0xC11C0001u);
}

TEST(KeyCodesTest, SystemKeysAreNotPlainKeyUps) {
  EXPECT_FALSE(Release(SDLK_LALT, SDL_SCANCODE_LALT));
  EXPECT_FALSE(Release(SDLK_RALT, SDL_SCANCODE_RALT));
  EXPECT_FALSE(Release(SDLK_F10, SDL_SCANCODE_F10));
  EXPECT_FALSE(Release(SDLK_x, SDL_SCANCODE_X, KMOD_LALT));
  EXPECT_TRUE(Release(SDLK_x, SDL_SCANCODE_X, KMOD_LSHIFT));
}

TEST(KeyCodesTest, KeysWithoutACodeSendNothing) {
  EXPECT_FALSE(Release(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY));
  EXPECT_FALSE(Release(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN));
}

}  // namespace
}  // namespace qv::platform::sdl
