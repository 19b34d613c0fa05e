// Tests for turning the window's SDL input events, the pads' among them, into engine messages.
#include "platform/sdl/InputTranslator.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sdl/Gamepads.h"

#include "xvfb/unit/SdlTestSupport.h"

namespace qv::platform::sdl {
namespace {

constexpr uint32_t kWindow = 5;

SDL_Event Button(Uint32 type, Uint8 button, int x, int y, uint32_t window = kWindow) {
  return testing::ButtonEvent(type, button, x, y, window);
}
SDL_Event Key(Uint32 type, SDL_Scancode scancode) {
  return testing::KeyEvent(type, scancode, kWindow);
}

const SDL_Event kReturnDown = Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
const SDL_Event kReturnUp = Key(SDL_KEYUP, SDL_SCANCODE_RETURN);

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

SDL_Event Wheel(int notches, uint32_t direction = SDL_MOUSEWHEEL_NORMAL) {
  SDL_Event event{};
  event.wheel.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = kWindow;
  event.wheel.y = notches;
  event.wheel.direction = direction;
  return event;
}

TEST_F(InputTranslatorTest, InputInTheWindowBecomesMessagesInFrameCoordinates) {
  SDL_Event motion{};
  motion.motion = {SDL_MOUSEMOTION, 0, kWindow, 0, 0, 640, 480, 0, 0};
  SDL_Event returnRepeat = kReturnDown;
  returnRepeat.key.repeat = 1;
  const uint32_t pointer = MakePoint(320, 240);  // where the motion left it, for the wheel
  const struct {
    SDL_Event event;
    uint32_t id;  // 0: ignored
    uint32_t wParam;
    uint32_t lParam;
  } cases[] = {
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 201, 101), MSG_LBUTTONUP, 0, MakePoint(100, 50)},
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 20, 40), MSG_RBUTTONUP, 0, MakePoint(10, 20)},
      {motion, MSG_MOUSEMOVE, 0, pointer},
      // The desktop often takes the press of Print Screen for itself.
      {Key(SDL_KEYUP, SDL_SCANCODE_PRINTSCREEN), MSG_KEYUP, VK_SNAPSHOT, 0xC1370001u},
      // A first press has no previous state or transition bit; a held key's repeats are no press.
      {kReturnDown, MSG_KEYDOWN, VK_RETURN, 0x001C0001u},
      {returnRepeat, 0, 0, 0},
      {Key(SDL_KEYDOWN, SDL_SCANCODE_DOWN), MSG_KEYDOWN, VK_DOWN, 0x01500001u},
      // Away from the player is up (positive), whichever way the system turns the wheel.
      {Wheel(2), MSG_MOUSEWHEEL, 2, pointer},
      {Wheel(-1), MSG_MOUSEWHEEL, static_cast<uint32_t>(-1), pointer},
      {Wheel(1, SDL_MOUSEWHEEL_FLIPPED), MSG_MOUSEWHEEL, static_cast<uint32_t>(-1), pointer},
      {Wheel(0), 0, 0, 0},  // a touchpad's scroll short of a notch
      // Button presses, the middle button, other windows and releases outside are not the game's.
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5), 0, 0, 0},
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 5), 0, 0, 0},
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5, kWindow + 1), 0, 0, 0},
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, 100), 0, 0, 0},
      {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 960), 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const auto message = Translate(c.event);
    ASSERT_EQ(message.has_value(), c.id != 0);
    if (!message) continue;
    EXPECT_EQ(message->id, c.id);
    EXPECT_EQ(message->wParam, c.wParam);
    EXPECT_EQ(message->lParam, c.lParam);
    if (c.id != MSG_KEYUP && c.id != MSG_KEYDOWN) {
      EXPECT_EQ(input_.LastPointer(), c.lParam);
    }
  }
}

TEST_F(InputTranslatorTest, F11AndAltEnterSwitchFullScreenOnThePressOnly) {
  SDL_Event f11 = Key(SDL_KEYDOWN, SDL_SCANCODE_F11);
  SDL_Event altEnter = kReturnDown;
  altEnter.key.keysym.mod = KMOD_LALT;
  for (const SDL_Event& press : {f11, altEnter}) {
    const auto message = Translate(press);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->id, MSG_TOGGLE_FULLSCREEN);
  }
  f11.key.repeat = 1;  // held down
  EXPECT_FALSE(Translate(f11));
  EXPECT_FALSE(Translate(Key(SDL_KEYUP, SDL_SCANCODE_F11))) << "the release is no click";
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

SDL_Event PadEvent(Uint32 type, SDL_JoystickID pad, uint8_t control, int16_t value = 0) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_CONTROLLERAXISMOTION) {
    event.caxis.which = pad;
    event.caxis.axis = control;
    event.caxis.value = value;
  } else {
    event.cbutton.which = pad;
    event.cbutton.button = control;
  }
  event.cdevice.which = pad;  // the same place for a removal
  return event;
}

TEST(GamepadsTest, ButtonsAndTheStickPressOnceAndLetGoOnceWhateverHoldsThem) {
  constexpr Uint32 kAxis = SDL_CONTROLLERAXISMOTION;
  constexpr uint8_t kY = SDL_CONTROLLER_AXIS_LEFTY;
  using Change = std::pair<PadButton, bool>;  // pressed or let go
  const struct {
    SDL_Event event;
    std::vector<Change> changes;
  } steps[] = {
      {PadEvent(kAxis, 1, kY, 12000), {}},  // inside the dead zone
      {PadEvent(kAxis, 1, kY, 20000), {{PadButton::Down, true}}},
      {PadEvent(kAxis, 1, kY, 9000), {}},  // held until it is nearly back
      {PadEvent(kAxis, 1, kY, -20000), {{PadButton::Down, false}, {PadButton::Up, true}}},
      {PadEvent(kAxis, 1, SDL_CONTROLLER_AXIS_LEFTX, 30000), {{PadButton::Right, true}}},
      {PadEvent(kAxis, 1, SDL_CONTROLLER_AXIS_RIGHTY, 30000), {}},  // the right stick is no D-pad
      // The D-pad's Up while the stick holds it, and a second pad's A: one press each.
      {PadEvent(SDL_CONTROLLERBUTTONDOWN, 1, SDL_CONTROLLER_BUTTON_DPAD_UP), {}},
      {PadEvent(kAxis, 1, kY, -7000), {}},
      {PadEvent(SDL_CONTROLLERBUTTONDOWN, 2, SDL_CONTROLLER_BUTTON_A), {{PadButton::A, true}}},
      {PadEvent(SDL_CONTROLLERBUTTONDOWN, 1, SDL_CONTROLLER_BUTTON_A), {}},
      {PadEvent(SDL_CONTROLLERBUTTONUP, 2, SDL_CONTROLLER_BUTTON_A), {}},
      // A pad that goes lets go of what it held.
      {PadEvent(SDL_CONTROLLERDEVICEREMOVED, 1, 0),
       {{PadButton::A, false}, {PadButton::Up, false}, {PadButton::Right, false}}},
  };
  Gamepads pads;
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    std::vector<Message> messages;
    pads.Translate(step.event, messages);
    std::vector<Change> changes;
    for (const Message& message : messages) {
      EXPECT_EQ(message.id, MSG_PAD_BUTTON);
      changes.emplace_back(static_cast<PadButton>(message.wParam), message.lParam != 0);
    }
    EXPECT_EQ(changes, step.changes);
  }
  EXPECT_FALSE(pads.AnyPlugged()) << "pads known only by their events were never opened";
}

}  // namespace
}  // namespace qv::platform::sdl
