// Tests for turning the window's SDL input events into engine messages.
#include "platform/sdl/InputTranslator.h"

#include <gtest/gtest.h>

namespace qv::platform::sdl {
namespace {

constexpr uint32_t kWindow = 5;

SDL_Event Button(Uint32 type, Uint8 button, int x, int y, uint32_t window = kWindow) {
  SDL_Event event{};
  event.type = type;
  event.button.windowID = window;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event Key(Uint32 type, SDL_Keycode key, SDL_Scancode scancode) {
  SDL_Event event{};
  event.type = type;
  event.key.windowID = kWindow;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = scancode;
  return event;
}

const SDL_Event kReturnDown = Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);
const SDL_Event kReturnUp = Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);

class InputTranslatorTest : public ::testing::Test {
 protected:
  std::optional<Message> Translate(const SDL_Event& event) {
    return input_.Translate(event, kWindow, geometry_);
  }
  void NoteModal(const SDL_Event& event) { input_.NoteModalEvent(event, kWindow, geometry_); }

  // A 640 x 480 frame shown twice as large.
  FrameGeometry geometry_{640, 480, 1280, 960, 1280, 960};
  InputTranslator input_;
};

TEST_F(InputTranslatorTest, PointerEventsBecomeMessagesInFrameCoordinates) {
  const auto left = Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 201, 101));
  ASSERT_TRUE(left);
  EXPECT_EQ(left->id, MSG_LBUTTONUP);
  EXPECT_EQ(left->lParam, MakePoint(100, 50));
  const auto right = Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 20, 40));
  ASSERT_TRUE(right);
  EXPECT_EQ(right->id, MSG_RBUTTONUP);
  EXPECT_EQ(right->lParam, MakePoint(10, 20));
  EXPECT_EQ(input_.LastPointer(), MakePoint(10, 20));
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = kWindow;
  motion.motion.x = 640;
  motion.motion.y = 480;
  const auto move = Translate(motion);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->id, MSG_MOUSEMOVE);
  EXPECT_EQ(move->lParam, MakePoint(320, 240));
  EXPECT_EQ(input_.LastPointer(), MakePoint(320, 240));
}

TEST_F(InputTranslatorTest, PressesTheMiddleButtonOtherWindowsAndReleasesOutsideAreIgnored) {
  EXPECT_FALSE(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5)));
  EXPECT_FALSE(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 5)));
  EXPECT_FALSE(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5, kWindow + 1)));
  EXPECT_FALSE(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, 100)));
  EXPECT_FALSE(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 960)));
}

TEST_F(InputTranslatorTest, KeyReleasesBecomeKeyUpsEvenWithoutAPress) {
  EXPECT_FALSE(Translate(kReturnDown));
  // The desktop often takes the press of Print Screen for itself.
  const auto up = Translate(Key(SDL_KEYUP, SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN));
  ASSERT_TRUE(up);
  EXPECT_EQ(up->id, MSG_KEYUP);
  EXPECT_EQ(up->wParam, VK_SNAPSHOT);
  EXPECT_EQ(up->lParam, 0xC1370001u);
}

TEST_F(InputTranslatorTest, F11AndAltEnterSwitchFullScreenOnThePressOnly) {
  SDL_Event f11 = Key(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11);
  SDL_Event altEnter = kReturnDown;
  altEnter.key.keysym.mod = KMOD_LALT;
  for (const SDL_Event& press : {f11, altEnter}) {
    const auto message = Translate(press);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->id, MSG_TOGGLE_FULLSCREEN);
  }
  f11.key.repeat = 1;  // held down
  EXPECT_FALSE(Translate(f11));
  EXPECT_FALSE(Translate(kReturnDown));
  EXPECT_FALSE(Translate(Key(SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11))) << "the release is no click";
}

TEST_F(InputTranslatorTest, TheReleaseOfWhatAModalLayerTookStaysWithIt) {
  // The box closed on the press; the release arrives when the game has the input again. Only
  // that one release is held back: the next is the game's.
  NoteModal(kReturnDown);
  EXPECT_FALSE(Translate(kReturnUp));
  EXPECT_TRUE(Translate(kReturnUp));
  const SDL_Event leftDown = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10);
  const SDL_Event leftUp = Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10);
  NoteModal(leftDown);
  EXPECT_FALSE(Translate(leftUp));
  EXPECT_TRUE(Translate(leftUp));
  // A right press taken by the menu does not hold back a left release.
  NoteModal(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10));
  EXPECT_TRUE(Translate(leftUp));
}

}  // namespace
}  // namespace qv::platform::sdl
