// The SDL window without a display: requests from other threads, timers, input, closing and the
// picture.
#include "platform/sdl/SdlWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "xvfb/unit/SdlTestSupport.h"

namespace qv::platform::sdl {
namespace {

using namespace testing;

using SdlWindowTest = DisplaylessWindowTest<64, 48>;

TEST_F(SdlWindowTest, SendsAreHandledOnTheWindowThreadAtOnceFromItselfAndPostsInOrder) {
  ScriptedProcedure procedure(window());
  const std::thread::id windowThread = std::this_thread::get_id();
  std::atomic<bool> onWindowThread{true};
  std::vector<int32_t> results;
  int32_t nested = 0;
  int32_t called = 0;
  procedure.onMessage = [&](const Message& message) -> int32_t {
    if (message.id != 0x400) return 0;
    if (std::this_thread::get_id() != windowThread) onWindowThread = false;
    return static_cast<int32_t>(message.wParam * 2);
  };
  const auto sendsFromItself = [&] {
    nested = window().Send(Message{0x400, 4, 0});  // would deadlock if it were queued
    called = window().Call([] { return 5; });
    for (uint32_t i = 0; i < 5; ++i) window().Post(Message{0x402, i, 0});
  };
  const auto sender = [&] {
    EXPECT_FALSE(window().IsWindowThread());
    for (uint32_t i = 0; i < 20; ++i) results.push_back(window().Send(Message{0x400, i, 0}));
    results.push_back(window().Call([&] { return window().IsWindowThread() ? 77 : -77; }));
    window().Post(Message{kTestQuit, 42, 0});
    window().Post(Message{0x402, 99, 0});  // after the quit: never handled
  };
  EXPECT_EQ(procedure.Run(sendsFromItself, sender), 42);
  EXPECT_TRUE(onWindowThread);
  ASSERT_EQ(results.size(), 21u);
  for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(results[static_cast<size_t>(i)], i * 2);
  EXPECT_EQ(results[20], 77);
  EXPECT_EQ(nested, 8);
  EXPECT_EQ(called, 5);
  const auto posts = procedure.Seen(0x402);
  ASSERT_EQ(posts.size(), 5u);
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(posts[i].wParam, i);
}

TEST_F(SdlWindowTest, TimersInputAndTheCloseBoxOrTheSystemsQuitRequestArriveAsMessages) {
  ScriptedProcedure procedure(window());
  int ticks = 0;
  uint64_t firstTickMs = 0;
  const uint64_t startMs = backend_->GetClock().nowMs();
  const uint32_t id = window().WindowId();
  procedure.onMessage = [&](const Message& message) -> int32_t {
    if (message.id == MSG_TIMER && message.wParam == 108) {
      if (++ticks == 1) firstTickMs = backend_->GetClock().nowMs();
      if (ticks < 5) return 0;
      window().KillTimer(108);
      window().SetTimer(109, 200);  // long enough to see that 108 stays quiet
    } else if (message.id == MSG_TIMER && message.wParam == 109) {
      window().KillTimer(109);
      PushWindowEvent(SDL_WINDOWEVENT_CLOSE, id);
    } else if (message.id == MSG_CLOSE && procedure.Seen(MSG_CLOSE).size() == 1) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;  // what SDL makes of SIGINT and SIGTERM
      SDL_PushEvent(&quit);
    } else if (message.id == MSG_CLOSE) {
      window().PostQuit(0);  // the procedure decides: the first close was ignored
    }
    return 0;
  };
  const auto start = [&] {
    window().SetTimer(108, 30);
    Click(SDL_BUTTON_RIGHT, 30, 40, id);
    Tap(SDL_SCANCODE_RETURN, id);
  };
  EXPECT_EQ(procedure.Run(start), 0);
  EXPECT_EQ(ticks, 5);
  EXPECT_GE(firstTickMs - startMs, 30u);
  EXPECT_EQ(procedure.Seen(MSG_CLOSE).size(), 2u);
  const auto right = procedure.Seen(MSG_RBUTTONUP);
  ASSERT_EQ(right.size(), 1u);
  EXPECT_EQ(right[0].lParam, MakePoint(30, 40));
  EXPECT_EQ(window().CursorPosition(), MakePoint(30, 40));
  EXPECT_EQ(procedure.Seen(MSG_KEYUP).at(0).wParam, 0x0Du);
}

TEST_F(SdlWindowTest, StartsShownAndBlackAndShowsAPictureDrawnOnAnotherThreadTheRightWayUp) {
  EXPECT_TRUE(SDL_GetWindowFlags(window().Handle()) & SDL_WINDOW_SHOWN);
  EXPECT_FALSE(window().Create("again", 64, 48));
  for (int i = 0; i < 64 * 48 * 3; ++i) ASSERT_EQ(window().Picture()[i], 0);
  ScriptedProcedure procedure(window());
  const auto drawer = [&] {
    uint8_t* picture = window().Picture();
    // Drawing row 0 (the top) is the last row of the bottom-up buffer: make it red.
    for (int x = 0; x < 64; ++x) picture[(47 * 64 + x) * 3 + 2] = 255;
    picture[5 * 3 + 0] = 255;  // and drawing position (5, 47), bottom row, blue
    window().Present(0, 0, 64, 48);
    WaitForFrames(window(), 2);
    window().Post(Message{kTestQuit, 0, 0});
  };
  EXPECT_EQ(procedure.Run({}, drawer), 0);
  std::vector<uint32_t> shown(64 * 48);  // what the renderer last drew, as 0xRRGGBB
  ASSERT_EQ(SDL_RenderReadPixels(window().Renderer(), nullptr, SDL_PIXELFORMAT_XRGB8888,
                                 shown.data(), 64 * 4),
            0)
      << SDL_GetError();
  for (uint32_t& pixel : shown) pixel &= 0xFFFFFF;
  EXPECT_EQ(shown[0], 0xFF0000u);
  EXPECT_EQ(shown[63], 0xFF0000u);
  EXPECT_EQ(shown[47 * 64 + 5], 0x0000FFu);
  EXPECT_EQ(shown[20 * 64 + 20], 0u);
}

}  // namespace
}  // namespace qv::platform::sdl
