// Window messages: the engine's own event type, delivered to the window procedure on the window
// thread.
#pragma once

#include <cstdint>

namespace qv::platform {

// Standard messages keep the numbers the games' original message loop used, so logs and tests can
// name them the same way whatever backend delivered them.
inline constexpr uint32_t MSG_CREATE = 0x0001;
inline constexpr uint32_t MSG_DESTROY = 0x0002;
inline constexpr uint32_t MSG_PAINT = 0x000F;
inline constexpr uint32_t MSG_CLOSE = 0x0010;
inline constexpr uint32_t MSG_KEYDOWN = 0x0100;  // a press (wParam: virtual key); no repeats
inline constexpr uint32_t MSG_KEYUP = 0x0101;
inline constexpr uint32_t MSG_COMMAND = 0x0111;
inline constexpr uint32_t MSG_TIMER = 0x0113;
inline constexpr uint32_t MSG_MOUSEMOVE = 0x0200;
inline constexpr uint32_t MSG_LBUTTONUP = 0x0202;
inline constexpr uint32_t MSG_RBUTTONUP = 0x0205;
// wParam: the notches turned, as a signed number (above 0: away from the player, "up").
inline constexpr uint32_t MSG_MOUSEWHEEL = 0x020A;

// The audio device's notice that a play-once stream has ended (wParam: the device handle). The
// players' own requests are calls that carry their data.
inline constexpr uint32_t MSG_STREAM_DONE = 0x3E0;

// The backend's full-screen keys (F11, Alt+Enter) were pressed: switch between the window and
// full screen as the system menu's item does.
inline constexpr uint32_t MSG_TOGGLE_FULLSCREEN = 0x8001;

// A gamepad button (wParam: a PadButton; lParam: 1 pressed, 0 released). The left stick arrives
// as the four directions.
inline constexpr uint32_t MSG_PAD_BUTTON = 0x8002;
// A gamepad was plugged in (wParam 1) or the last one unplugged (wParam 0).
inline constexpr uint32_t MSG_PAD_PLUG = 0x8003;

enum class PadButton : uint32_t { A, B, X, Y, Back, Start, LB, RB, Up, Down, Left, Right };
inline constexpr uint32_t kPadButtonCount = 12;

// Virtual-key codes the window procedure tells apart. Print Screen is the original's only one;
// the rest serve the keyboard play added to it.
inline constexpr uint32_t VK_RETURN = 0x0D;
inline constexpr uint32_t VK_CONTROL = 0x11;
inline constexpr uint32_t VK_ESCAPE = 0x1B;
inline constexpr uint32_t VK_SPACE = 0x20;
inline constexpr uint32_t VK_PRIOR = 0x21;  // Page Up
inline constexpr uint32_t VK_NEXT = 0x22;   // Page Down
inline constexpr uint32_t VK_LEFT = 0x25;
inline constexpr uint32_t VK_UP = 0x26;
inline constexpr uint32_t VK_RIGHT = 0x27;
inline constexpr uint32_t VK_DOWN = 0x28;
inline constexpr uint32_t VK_SNAPSHOT = 0x2C;
inline constexpr uint32_t VK_APPS = 0x5D;  // the menu key

struct Message {
  uint32_t id = 0;
  uint32_t wParam = 0;
  // Mouse messages: x in the low 16 bits, y in the high 16 bits (frame coordinates).
  // Key messages: repeat count and scan code, as the key-up message carried them.
  uint32_t lParam = 0;
};

inline constexpr uint32_t MakePoint(int x, int y) {
  return (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
         static_cast<uint16_t>(static_cast<int16_t>(x));
}
inline constexpr int PointX(uint32_t lParam) {
  return static_cast<int16_t>(lParam & 0xFFFF);
}
inline constexpr int PointY(uint32_t lParam) {
  return static_cast<int16_t>(lParam >> 16);
}

// What a backend's message loop calls for every message; the shell implements it.
class WindowProcedure {
 public:
  virtual ~WindowProcedure() = default;
  // Window thread only.
  virtual int32_t HandleMessage(const Message& message) = 0;
};

}  // namespace qv::platform
