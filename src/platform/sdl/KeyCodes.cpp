// SDL key to virtual-key translation (see KeyCodes.h).
#include "platform/sdl/KeyCodes.h"

#include <array>

namespace qv::platform::sdl {

namespace {

struct KeyInfo {
  SDL_Scancode scancode;
  uint8_t virtualKey;
  uint8_t scan;   // PC keyboard scan code (set 1), as the key messages carry it
  bool extended;  // the E0-prefixed keys
};

// By position on the keyboard. Letters and digits take their virtual key from the layout
// instead (see below), as on Windows.
constexpr std::array kKeys = {
    KeyInfo{SDL_SCANCODE_ESCAPE, 0x1B, 0x01, false},
    KeyInfo{SDL_SCANCODE_1, 0x31, 0x02, false},
    KeyInfo{SDL_SCANCODE_2, 0x32, 0x03, false},
    KeyInfo{SDL_SCANCODE_3, 0x33, 0x04, false},
    KeyInfo{SDL_SCANCODE_4, 0x34, 0x05, false},
    KeyInfo{SDL_SCANCODE_5, 0x35, 0x06, false},
    KeyInfo{SDL_SCANCODE_6, 0x36, 0x07, false},
    KeyInfo{SDL_SCANCODE_7, 0x37, 0x08, false},
    KeyInfo{SDL_SCANCODE_8, 0x38, 0x09, false},
    KeyInfo{SDL_SCANCODE_9, 0x39, 0x0A, false},
    KeyInfo{SDL_SCANCODE_0, 0x30, 0x0B, false},
    KeyInfo{SDL_SCANCODE_MINUS, 0xBD, 0x0C, false},
    KeyInfo{SDL_SCANCODE_EQUALS, 0xBB, 0x0D, false},
    KeyInfo{SDL_SCANCODE_BACKSPACE, 0x08, 0x0E, false},
    KeyInfo{SDL_SCANCODE_TAB, 0x09, 0x0F, false},
    KeyInfo{SDL_SCANCODE_Q, 0x51, 0x10, false},
    KeyInfo{SDL_SCANCODE_W, 0x57, 0x11, false},
    KeyInfo{SDL_SCANCODE_E, 0x45, 0x12, false},
    KeyInfo{SDL_SCANCODE_R, 0x52, 0x13, false},
    KeyInfo{SDL_SCANCODE_T, 0x54, 0x14, false},
    KeyInfo{SDL_SCANCODE_Y, 0x59, 0x15, false},
    KeyInfo{SDL_SCANCODE_U, 0x55, 0x16, false},
    KeyInfo{SDL_SCANCODE_I, 0x49, 0x17, false},
    KeyInfo{SDL_SCANCODE_O, 0x4F, 0x18, false},
    KeyInfo{SDL_SCANCODE_P, 0x50, 0x19, false},
    KeyInfo{SDL_SCANCODE_LEFTBRACKET, 0xDB, 0x1A, false},
    KeyInfo{SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0x1B, false},
    KeyInfo{SDL_SCANCODE_RETURN, 0x0D, 0x1C, false},
    KeyInfo{SDL_SCANCODE_LCTRL, 0x11, 0x1D, false},
    KeyInfo{SDL_SCANCODE_A, 0x41, 0x1E, false},
    KeyInfo{SDL_SCANCODE_S, 0x53, 0x1F, false},
    KeyInfo{SDL_SCANCODE_D, 0x44, 0x20, false},
    KeyInfo{SDL_SCANCODE_F, 0x46, 0x21, false},
    KeyInfo{SDL_SCANCODE_G, 0x47, 0x22, false},
    KeyInfo{SDL_SCANCODE_H, 0x48, 0x23, false},
    KeyInfo{SDL_SCANCODE_J, 0x4A, 0x24, false},
    KeyInfo{SDL_SCANCODE_K, 0x4B, 0x25, false},
    KeyInfo{SDL_SCANCODE_L, 0x4C, 0x26, false},
    KeyInfo{SDL_SCANCODE_SEMICOLON, 0xBA, 0x27, false},
    KeyInfo{SDL_SCANCODE_APOSTROPHE, 0xDE, 0x28, false},
    KeyInfo{SDL_SCANCODE_GRAVE, 0xC0, 0x29, false},
    KeyInfo{SDL_SCANCODE_LSHIFT, 0x10, 0x2A, false},
    KeyInfo{SDL_SCANCODE_BACKSLASH, 0xDC, 0x2B, false},
    KeyInfo{SDL_SCANCODE_Z, 0x5A, 0x2C, false},
    KeyInfo{SDL_SCANCODE_X, 0x58, 0x2D, false},
    KeyInfo{SDL_SCANCODE_C, 0x43, 0x2E, false},
    KeyInfo{SDL_SCANCODE_V, 0x56, 0x2F, false},
    KeyInfo{SDL_SCANCODE_B, 0x42, 0x30, false},
    KeyInfo{SDL_SCANCODE_N, 0x4E, 0x31, false},
    KeyInfo{SDL_SCANCODE_M, 0x4D, 0x32, false},
    KeyInfo{SDL_SCANCODE_COMMA, 0xBC, 0x33, false},
    KeyInfo{SDL_SCANCODE_PERIOD, 0xBE, 0x34, false},
    KeyInfo{SDL_SCANCODE_SLASH, 0xBF, 0x35, false},
    KeyInfo{SDL_SCANCODE_RSHIFT, 0x10, 0x36, false},
    KeyInfo{SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0x37, false},
    KeyInfo{SDL_SCANCODE_SPACE, 0x20, 0x39, false},
    KeyInfo{SDL_SCANCODE_CAPSLOCK, 0x14, 0x3A, false},
    KeyInfo{SDL_SCANCODE_F1, 0x70, 0x3B, false},
    KeyInfo{SDL_SCANCODE_F2, 0x71, 0x3C, false},
    KeyInfo{SDL_SCANCODE_F3, 0x72, 0x3D, false},
    KeyInfo{SDL_SCANCODE_F4, 0x73, 0x3E, false},
    KeyInfo{SDL_SCANCODE_F5, 0x74, 0x3F, false},
    KeyInfo{SDL_SCANCODE_F6, 0x75, 0x40, false},
    KeyInfo{SDL_SCANCODE_F7, 0x76, 0x41, false},
    KeyInfo{SDL_SCANCODE_F8, 0x77, 0x42, false},
    KeyInfo{SDL_SCANCODE_F9, 0x78, 0x43, false},
    KeyInfo{SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0x45, true},
    KeyInfo{SDL_SCANCODE_SCROLLLOCK, 0x91, 0x46, false},
    KeyInfo{SDL_SCANCODE_KP_7, 0x67, 0x47, false},
    KeyInfo{SDL_SCANCODE_KP_8, 0x68, 0x48, false},
    KeyInfo{SDL_SCANCODE_KP_9, 0x69, 0x49, false},
    KeyInfo{SDL_SCANCODE_KP_MINUS, 0x6D, 0x4A, false},
    KeyInfo{SDL_SCANCODE_KP_4, 0x64, 0x4B, false},
    KeyInfo{SDL_SCANCODE_KP_5, 0x65, 0x4C, false},
    KeyInfo{SDL_SCANCODE_KP_6, 0x66, 0x4D, false},
    KeyInfo{SDL_SCANCODE_KP_PLUS, 0x6B, 0x4E, false},
    KeyInfo{SDL_SCANCODE_KP_1, 0x61, 0x4F, false},
    KeyInfo{SDL_SCANCODE_KP_2, 0x62, 0x50, false},
    KeyInfo{SDL_SCANCODE_KP_3, 0x63, 0x51, false},
    KeyInfo{SDL_SCANCODE_KP_0, 0x60, 0x52, false},
    KeyInfo{SDL_SCANCODE_KP_PERIOD, 0x6E, 0x53, false},
    KeyInfo{SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0x56, false},
    KeyInfo{SDL_SCANCODE_F11, 0x7A, 0x57, false},
    KeyInfo{SDL_SCANCODE_F12, 0x7B, 0x58, false},
    KeyInfo{SDL_SCANCODE_F13, 0x7C, 0x64, false},
    KeyInfo{SDL_SCANCODE_F14, 0x7D, 0x65, false},
    KeyInfo{SDL_SCANCODE_F15, 0x7E, 0x66, false},
    KeyInfo{SDL_SCANCODE_F16, 0x7F, 0x67, false},
    KeyInfo{SDL_SCANCODE_F17, 0x80, 0x68, false},
    KeyInfo{SDL_SCANCODE_F18, 0x81, 0x69, false},
    KeyInfo{SDL_SCANCODE_F19, 0x82, 0x6A, false},
    KeyInfo{SDL_SCANCODE_F20, 0x83, 0x6B, false},
    KeyInfo{SDL_SCANCODE_F21, 0x84, 0x6C, false},
    KeyInfo{SDL_SCANCODE_F22, 0x85, 0x6D, false},
    KeyInfo{SDL_SCANCODE_F23, 0x86, 0x6E, false},
    KeyInfo{SDL_SCANCODE_F24, 0x87, 0x76, false},
    KeyInfo{SDL_SCANCODE_PAUSE, 0x13, 0x45, false},
    // Japanese keyboards.
    KeyInfo{SDL_SCANCODE_INTERNATIONAL2, 0x15, 0x70, false},  // katakana/hiragana (kana)
    KeyInfo{SDL_SCANCODE_INTERNATIONAL1, 0xE2, 0x73, false},  // ro
    KeyInfo{SDL_SCANCODE_INTERNATIONAL4, 0x1C, 0x79, false},  // henkan (convert)
    KeyInfo{SDL_SCANCODE_INTERNATIONAL5, 0x1D, 0x7B, false},  // muhenkan (non-convert)
    KeyInfo{SDL_SCANCODE_INTERNATIONAL3, 0xDC, 0x7D, false},  // yen
    KeyInfo{SDL_SCANCODE_LANG5, 0x19, 0x29, false},           // hankaku/zenkaku
    // Extended keys.
    KeyInfo{SDL_SCANCODE_KP_ENTER, 0x0D, 0x1C, true},
    KeyInfo{SDL_SCANCODE_RCTRL, 0x11, 0x1D, true},
    KeyInfo{SDL_SCANCODE_KP_DIVIDE, 0x6F, 0x35, true},
    KeyInfo{SDL_SCANCODE_PRINTSCREEN, 0x2C, 0x37, true},
    KeyInfo{SDL_SCANCODE_HOME, 0x24, 0x47, true},
    KeyInfo{SDL_SCANCODE_UP, 0x26, 0x48, true},
    KeyInfo{SDL_SCANCODE_PAGEUP, 0x21, 0x49, true},
    KeyInfo{SDL_SCANCODE_LEFT, 0x25, 0x4B, true},
    KeyInfo{SDL_SCANCODE_RIGHT, 0x27, 0x4D, true},
    KeyInfo{SDL_SCANCODE_END, 0x23, 0x4F, true},
    KeyInfo{SDL_SCANCODE_DOWN, 0x28, 0x50, true},
    KeyInfo{SDL_SCANCODE_PAGEDOWN, 0x22, 0x51, true},
    KeyInfo{SDL_SCANCODE_INSERT, 0x2D, 0x52, true},
    KeyInfo{SDL_SCANCODE_DELETE, 0x2E, 0x53, true},
    KeyInfo{SDL_SCANCODE_LGUI, 0x5B, 0x5B, true},
    KeyInfo{SDL_SCANCODE_RGUI, 0x5C, 0x5C, true},
    KeyInfo{SDL_SCANCODE_APPLICATION, 0x5D, 0x5D, true},
};

const KeyInfo* FindKey(SDL_Scancode scancode) {
  for (const KeyInfo& info : kKeys) {
    if (info.scancode == scancode) return &info;
  }
  return nullptr;
}

}  // namespace

std::optional<KeyMessage> TranslateKeyRelease(SDL_Keycode key, SDL_Scancode scancode,
                                              uint16_t modifiers) {
  // Alt, F10 and Alt combinations reach a Windows window as system keys, which the game leaves
  // to the system; they must not advance the story here either.
  if (scancode == SDL_SCANCODE_LALT || scancode == SDL_SCANCODE_RALT ||
      scancode == SDL_SCANCODE_F10 || (modifiers & KMOD_ALT) != 0) {
    return std::nullopt;
  }
  // F11 switches full screen on its press; its release is no click.
  if (scancode == SDL_SCANCODE_F11) return std::nullopt;
  const KeyInfo* info = FindKey(scancode);
  uint32_t virtualKey = info ? info->virtualKey : 0;
  // Letters and digits follow the keyboard layout (an A key is VK 'A' wherever it sits).
  if (key >= SDLK_a && key <= SDLK_z) virtualKey = 0x41 + static_cast<uint32_t>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) virtualKey = 0x30 + static_cast<uint32_t>(key - SDLK_0);
  if (virtualKey == 0) return std::nullopt;

  KeyMessage release;
  release.virtualKey = virtualKey;
  const uint32_t scan = info ? info->scan : 0;
  const uint32_t extended = (info && info->extended) ? 1u << 24 : 0u;
  release.lParam = 0xC0000001u | (scan << 16) | extended;
  return release;
}

std::optional<KeyMessage> TranslateKeyPress(SDL_Keycode key, SDL_Scancode scancode,
                                            uint16_t modifiers) {
  auto press = TranslateKeyRelease(key, scancode, modifiers);
  if (press) press->lParam &= ~0xC0000000u;
  return press;
}

}  // namespace qv::platform::sdl
