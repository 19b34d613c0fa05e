// Game controllers and their buttons (see Gamepads.h).
#include "platform/sdl/Gamepads.h"

#include <algorithm>
#include <optional>

namespace qv::platform::sdl {

namespace {

std::optional<PadButton> ButtonOf(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return PadButton::LB;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return PadButton::RB;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::Right;
    default:
      return std::nullopt;
  }
}

// Where the stick points along one axis after moving to `value`: a held direction stays held
// until the stick comes back inside the release distance, and only then may the other side or
// the centre take over.
int NextDirection(int current, int value) {
  if (current != 0 && value * current >= kStickRelease) return current;
  if (value >= kStickPress) return 1;
  if (value <= -kStickPress) return -1;
  return 0;
}

constexpr size_t Index(PadButton button) {
  return static_cast<size_t>(button);
}

}  // namespace

Gamepads::~Gamepads() {
  for (const Pad& pad : pads_) {
    if (pad.controller) SDL_GameControllerClose(pad.controller);
  }
}

bool Gamepads::IsPadEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      return true;
    default:
      return false;
  }
}

bool Gamepads::AnyPlugged() const {
  return std::any_of(pads_.begin(), pads_.end(),
                     [](const Pad& pad) { return pad.controller != nullptr; });
}

std::bitset<kPadButtonCount> Gamepads::Pressed() const {
  std::bitset<kPadButtonCount> pressed;
  for (const Pad& pad : pads_) {
    for (size_t button = 0; button < kPadButtonCount; ++button) {
      const bool byStick = button >= Index(PadButton::Up) && pad.held.test(button + kStickSources);
      if (pad.held.test(button) || byStick) pressed.set(button);
    }
  }
  return pressed;
}

Gamepads::Pad& Gamepads::PadFor(SDL_JoystickID id) {
  for (Pad& pad : pads_) {
    if (pad.id == id) return pad;
  }
  Pad& pad = pads_.emplace_back();
  pad.id = id;
  return pad;
}

void Gamepads::Open(int deviceIndex) {
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) return;
  Pad& pad = PadFor(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)));
  // SDL reports a controller present at start-up once more if it is asked to open it again; the
  // second opening only counts a reference.
  if (pad.controller) {
    SDL_GameControllerClose(controller);
  } else {
    pad.controller = controller;
  }
}

void Gamepads::Remove(SDL_JoystickID id) {
  const auto gone =
      std::find_if(pads_.begin(), pads_.end(), [id](const Pad& pad) { return pad.id == id; });
  if (gone == pads_.end()) return;
  if (gone->controller) SDL_GameControllerClose(gone->controller);
  pads_.erase(gone);
}

void Gamepads::MoveStick(Pad& pad, uint8_t axis, int value) {
  int* direction = nullptr;
  PadButton negative = PadButton::Up;
  PadButton positive = PadButton::Down;
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
    direction = &pad.stickX;
    negative = PadButton::Left;
    positive = PadButton::Right;
  } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
    direction = &pad.stickY;
  } else {
    return;
  }
  *direction = NextDirection(*direction, value);
  pad.held.set(Index(negative) + kStickSources, *direction < 0);
  pad.held.set(Index(positive) + kStickSources, *direction > 0);
}

void Gamepads::Translate(const SDL_Event& event, std::vector<Message>& out) {
  const std::bitset<kPadButtonCount> before = Pressed();
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      Remove(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (const auto button = ButtonOf(event.cbutton.button)) {
        PadFor(event.cbutton.which)
            .held.set(Index(*button), event.type == SDL_CONTROLLERBUTTONDOWN);
      }
      break;
    case SDL_CONTROLLERAXISMOTION:
      MoveStick(PadFor(event.caxis.which), event.caxis.axis, event.caxis.value);
      break;
    default:
      return;
  }
  const std::bitset<kPadButtonCount> after = Pressed();
  // Releases first: a stick swung across lets go of one side before it presses the other.
  for (const bool pressed : {false, true}) {
    for (uint32_t button = 0; button < kPadButtonCount; ++button) {
      if (before.test(button) != after.test(button) && after.test(button) == pressed) {
        out.push_back(Message{MSG_PAD_BUTTON, button, pressed ? 1u : 0u});
      }
    }
  }
}

}  // namespace qv::platform::sdl
