// SDL input events to engine messages (see InputTranslator.h).
#include "platform/sdl/InputTranslator.h"

#include "platform/sdl/KeyCodes.h"

namespace qv::platform::sdl {

void InputTranslator::TrackPointer(int windowX, int windowY, const FrameGeometry& geometry) {
  const FramePoint point = geometry.WindowToFrame(windowX, windowY);
  lastPointer_ = MakePoint(point.x, point.y);
}

std::optional<Message> InputTranslator::Translate(const SDL_Event& event, uint32_t windowId,
                                                  const FrameGeometry& geometry) {
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      if (event.motion.windowID != windowId) return std::nullopt;
      TrackPointer(event.motion.x, event.motion.y, geometry);
      return Message{MSG_MOUSEMOVE, 0, lastPointer_};
    }
    case SDL_MOUSEBUTTONUP: {
      if (event.button.windowID != windowId) return std::nullopt;
      const uint32_t mask = SDL_BUTTON(event.button.button);
      if (buttonsTakenByModal_ & mask) {
        buttonsTakenByModal_ &= ~mask;
        return std::nullopt;
      }
      lastPressByPointer_ = true;
      uint32_t id = 0;
      if (event.button.button == SDL_BUTTON_LEFT) id = MSG_LBUTTONUP;
      if (event.button.button == SDL_BUTTON_RIGHT) id = MSG_RBUTTONUP;
      // A release outside the window (the system keeps reporting a dragged pointer) is not the
      // window's, as it is not on Windows.
      if (id == 0 || !geometry.InsideWindow(event.button.x, event.button.y)) return std::nullopt;
      TrackPointer(event.button.x, event.button.y, geometry);
      return Message{id, 0, lastPointer_};
    }
    case SDL_KEYDOWN: {
      // Taken on the press, as a desktop program does, and once however long the key is held.
      if (event.key.windowID != windowId || event.key.repeat != 0) return std::nullopt;
      const SDL_Scancode scancode = event.key.keysym.scancode;
      const bool enter = scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
      lastPressByPointer_ = false;
      if (scancode == SDL_SCANCODE_F11 || (enter && (event.key.keysym.mod & KMOD_ALT) != 0)) {
        return Message{MSG_TOGGLE_FULLSCREEN, 0, 0};
      }
      const auto press = TranslateKeyPress(event.key.keysym.sym, scancode, event.key.keysym.mod);
      if (!press) return std::nullopt;
      return Message{MSG_KEYDOWN, press->virtualKey, press->lParam};
    }
    case SDL_MOUSEWHEEL: {
      if (event.wheel.windowID != windowId) return std::nullopt;
      // A touchpad's small scrolls add up to whole notches before SDL reports any.
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) return std::nullopt;
      lastPressByPointer_ = true;
      return Message{MSG_MOUSEWHEEL, static_cast<uint32_t>(notches), lastPointer_};
    }
    case SDL_KEYUP: {
      if (event.key.windowID != windowId) return std::nullopt;
      const SDL_Scancode scancode = event.key.keysym.scancode;
      if (scancode >= 0 && scancode < SDL_NUM_SCANCODES && keysTakenByModal_.test(scancode)) {
        keysTakenByModal_.reset(scancode);
        return std::nullopt;
      }
      const auto release =
          TranslateKeyRelease(event.key.keysym.sym, scancode, event.key.keysym.mod);
      if (!release) return std::nullopt;
      return Message{MSG_KEYUP, release->virtualKey, release->lParam};
    }
    default:
      return std::nullopt;
  }
}

void InputTranslator::NoteModalEvent(const SDL_Event& event, uint32_t windowId,
                                     const FrameGeometry& geometry) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      if (event.motion.windowID == windowId) TrackPointer(event.motion.x, event.motion.y, geometry);
      break;
    case SDL_MOUSEBUTTONDOWN:
      buttonsTakenByModal_ |= SDL_BUTTON(event.button.button);
      lastPressByPointer_ = true;
      break;
    case SDL_MOUSEWHEEL:
      lastPressByPointer_ = true;
      break;
    case SDL_MOUSEBUTTONUP:
      buttonsTakenByModal_ &= ~SDL_BUTTON(event.button.button);
      break;
    case SDL_KEYDOWN:
      if (event.key.keysym.scancode >= 0 && event.key.keysym.scancode < SDL_NUM_SCANCODES) {
        keysTakenByModal_.set(event.key.keysym.scancode);
      }
      lastPressByPointer_ = false;
      break;
    case SDL_KEYUP:
      if (event.key.keysym.scancode >= 0 && event.key.keysym.scancode < SDL_NUM_SCANCODES) {
        keysTakenByModal_.reset(event.key.keysym.scancode);
      }
      break;
    default:
      break;
  }
}

bool InputTranslator::PadReachesGame(const Message& message) {
  if (message.wParam >= kPadButtonCount) return false;
  if (message.lParam != 0) {
    lastPressByPointer_ = false;
    return true;
  }
  if (!padTakenByModal_.test(message.wParam)) return true;
  padTakenByModal_.reset(message.wParam);
  return false;
}

void InputTranslator::NoteModalPad(const Message& message) {
  if (message.wParam >= kPadButtonCount) return;
  padTakenByModal_.set(message.wParam, message.lParam != 0);
  if (message.lParam != 0) lastPressByPointer_ = false;
}

}  // namespace qv::platform::sdl
