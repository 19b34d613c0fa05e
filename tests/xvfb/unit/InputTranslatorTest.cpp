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

SDL_Event Motion(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = kWindow;
  event.motion.x = x;
  event.motion.y = y;
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

class InputTranslatorTest : public ::testing::Test {
 protected:
  // A 640 x 480 frame shown twice as large.
  FrameGeometry geometry_{640, 480, 1280, 960, 1280, 960};
  InputTranslator input_;
};

TEST_F(InputTranslatorTest, ButtonReleasesBecomeClicksInFrameCoordinates) {
  const auto left =
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 201, 101), kWindow, geometry_);
  ASSERT_TRUE(left);
  EXPECT_EQ(left->id, MSG_LBUTTONUP);
  EXPECT_EQ(left->lParam, MakePoint(100, 50));
  const auto right =
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 20, 40), kWindow, geometry_);
  ASSERT_TRUE(right);
  EXPECT_EQ(right->id, MSG_RBUTTONUP);
  EXPECT_EQ(right->lParam, MakePoint(10, 20));
  EXPECT_EQ(input_.LastPointer(), MakePoint(10, 20));
}

TEST_F(InputTranslatorTest, PressesMiddleButtonAndOtherWindowsAreIgnored) {
  EXPECT_FALSE(
      input_.Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5), kWindow, geometry_));
  EXPECT_FALSE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 5), kWindow, geometry_));
  EXPECT_FALSE(input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5, kWindow + 1),
                                kWindow, geometry_));
}

TEST_F(InputTranslatorTest, AReleaseOutsideTheWindowIsNotAClick) {
  EXPECT_FALSE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, 100), kWindow, geometry_));
  EXPECT_FALSE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 960), kWindow, geometry_));
}

TEST_F(InputTranslatorTest, MotionIsAMouseMoveAndUpdatesTheCursor) {
  const auto move = input_.Translate(Motion(640, 480), kWindow, geometry_);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->id, MSG_MOUSEMOVE);
  EXPECT_EQ(move->lParam, MakePoint(320, 240));
  EXPECT_EQ(input_.LastPointer(), MakePoint(320, 240));
}

TEST_F(InputTranslatorTest, KeyReleasesBecomeKeyUps) {
  EXPECT_FALSE(
      input_.Translate(Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN), kWindow, geometry_));
  const auto up =
      input_.Translate(Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN), kWindow, geometry_);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->id, MSG_KEYUP);
  EXPECT_EQ(up->wParam, 0x0Du);
  EXPECT_EQ(up->lParam, 0xC01C0001u);
}

TEST_F(InputTranslatorTest, TheReleaseOfAKeyThatAnsweredABoxStaysWithTheBox) {
  input_.NoteModalEvent(Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN), kWindow, geometry_);
  // The box closed on the press; the release arrives when the game has the input again.
  EXPECT_FALSE(
      input_.Translate(Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN), kWindow, geometry_));
  // Only that one release: the next press and release are the game's.
  EXPECT_TRUE(
      input_.Translate(Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN), kWindow, geometry_));
}

TEST_F(InputTranslatorTest, TheClickThatDismissedAMenuDoesNotReachTheGame) {
  input_.NoteModalEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10), kWindow, geometry_);
  EXPECT_FALSE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10), kWindow, geometry_));
  EXPECT_TRUE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10), kWindow, geometry_));
  // A right press taken by the menu does not hold back a left release.
  input_.NoteModalEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10), kWindow, geometry_);
  EXPECT_TRUE(
      input_.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10), kWindow, geometry_));
}

TEST_F(InputTranslatorTest, PrintScreenReleasesWithoutAPressStillArrive) {
  // The desktop often takes the press of Print Screen for itself.
  const auto up = input_.Translate(Key(SDL_KEYUP, SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN),
                                   kWindow, geometry_);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->wParam, VK_SNAPSHOT);
}

}  // namespace
}  // namespace qv::platform::sdl
