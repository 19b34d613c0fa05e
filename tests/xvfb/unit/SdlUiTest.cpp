// Tests for the modal user interface on a real SDL window (dummy driver): boxes before the window
// exists, input held back from the game, requests handled meanwhile, nesting and closing.
#include "platform/sdl/SdlUi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "xvfb/unit/SdlTestSupport.h"

namespace qv::platform::sdl {
namespace {

using namespace testing;

int CountShownWindows(void* counter, SDL_Event* event) {
  if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SHOWN) {
    ++*static_cast<std::atomic<int>*>(counter);
  }
  return 1;
}

TEST(SdlUiStartupTest, ABoxBeforeTheWindowExistsOpensAWindowOfItsOwn) {
  auto backend = CreateDisplaylessBackend();
  ASSERT_TRUE(backend);
  std::atomic<int> shown{0};  // counted on the window thread, which adds the window events
  SDL_AddEventWatch(CountShownWindows, &shown);
  std::thread player([&] {
    // The player answers once the box shows (or, if it never does, after a while).
    for (int i = 0; i < 500 && shown == 0; ++i) Sleep(10);
    WaitForFrames(backend->GetWindow(), 2);
    Tap(SDL_SCANCODE_RETURN);
  });
  const BoxAnswer answer = backend->GetUi().MessageBox(
      "サンプル", "スクリプトファイルが見つかりません。", BoxButtons::Ok, BoxIcon::Warning);
  player.join();
  SDL_DelEventWatch(CountShownWindows, &shown);
  EXPECT_EQ(answer, BoxAnswer::Ok);
  EXPECT_EQ(shown, 1);
}

using SdlUiTest = DisplaylessWindowTest<320, 240>;

TEST_F(SdlUiTest, WhileABoxIsUpTheGameGetsNoInputButRequestsAreHandled) {
  ScriptedProcedure procedure(window());
  const uint32_t id = window().WindowId();
  std::atomic<bool> boxUp{false};
  std::atomic<bool> requestHandledDuringBox{false};
  BoxAnswer answer = BoxAnswer::Cancel;
  procedure.onMessage = [&](const Message& message) -> int32_t {
    if (message.id != 0x400) return 0;
    requestHandledDuringBox = boxUp.load();
    return 11;
  };
  const auto askWithABox = [&] {
    boxUp = true;
    answer = ui().MessageBox("確認", "終了します。", BoxButtons::OkCancel, BoxIcon::None);
    boxUp = false;
  };
  const auto player = [&] {
    WaitForFrames(window(), 2);
    Click(SDL_BUTTON_LEFT, 5, 5, id);
    Tap(SDL_SCANCODE_A, id);
    EXPECT_EQ(window().Send(Message{0x400, 0, 0}), 11);  // the interpreter asks meanwhile
    // The pad moves the focus from OK (where it is again after the click beside the box) to
    // Cancel and answers with it, let go only after.
    WaitForFrames(window(), 2);
    for (uint8_t button : {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_A}) {
      Push(PadButtonEvent(SDL_CONTROLLERBUTTONDOWN, button));
      if (button == SDL_CONTROLLER_BUTTON_A) {
        while (boxUp) Sleep(5);
      }
      Push(PadButtonEvent(SDL_CONTROLLERBUTTONUP, button));
      WaitForFrames(window(), 2);
    }
    window().Post(Message{kTestQuit, 0, 0});
  };
  EXPECT_EQ(procedure.Run(askWithABox, player), 0);
  EXPECT_EQ(answer, BoxAnswer::Cancel);
  EXPECT_TRUE(requestHandledDuringBox);
  EXPECT_TRUE(procedure.Seen(MSG_LBUTTONUP).empty());
  EXPECT_TRUE(procedure.Seen(MSG_KEYDOWN).empty());
  EXPECT_TRUE(procedure.Seen(MSG_KEYUP).empty());
  EXPECT_TRUE(procedure.Seen(MSG_PAD_BUTTON).empty());  // nor the pad's presses and releases
}

TEST_F(SdlUiTest, ABoxFromAnotherThreadLiesOverTheMenuAndTheCloseBoxClosesAfterTheMenu) {
  ScriptedProcedure procedure(window());
  std::vector<std::string> order;
  std::atomic<int32_t> boxResult{-1};  // the answer, once given
  std::atomic<bool> boxAsked{false};
  procedure.onMessage = [&](const Message& message) -> int32_t {
    if (message.id == MSG_CLOSE) {
      order.push_back("close");
      window().PostQuit(0);
    }
    return 0;
  };
  std::thread interpreter;
  const auto menuAndBox = [&] {
    interpreter = std::thread([&] {
      WaitForFrames(window(), 2);
      boxResult = window().Call([&] {
        boxAsked = true;
        return static_cast<int32_t>(ui().MessageBox("game", "画像ファイルが見つかりません。",
                                                    BoxButtons::Ok, BoxIcon::Warning));
      });
    });
    MenuItem menu;
    menu.children.resize(1);
    menu.children[0].text = "システム終了";
    menu.children[0].id = 40001;
    order.push_back("menu " + std::to_string(ui().PopupMenu(menu, 10, 10)));
  };
  const auto player = [&] {
    while (!boxAsked) Sleep(5);
    WaitForFrames(window(), 2);
    Tap(SDL_SCANCODE_RETURN);  // answers the box on top, not the menu
    while (boxResult < 0) Sleep(5);
    WaitForFrames(window(), 2);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, window().WindowId());  // handled by the menu's loop
  };
  EXPECT_EQ(procedure.Run(menuAndBox, player), 0);
  interpreter.join();
  EXPECT_EQ(boxResult, static_cast<int32_t>(BoxAnswer::Ok));
  EXPECT_EQ(order, (std::vector<std::string>{"menu 0", "close"}));
}

TEST_F(SdlUiTest, AQuickTapStillAnswersAndQuittingWhileABoxIsUpEndsTheBox) {
  ScriptedProcedure procedure(window());
  std::atomic<bool> secondBoxUp{false};
  BoxAnswer tapped = BoxAnswer::Ok;
  BoxAnswer closed = BoxAnswer::Ok;
  procedure.onMessage = [&](const Message& message) -> int32_t {
    if (message.id == MSG_CLOSE) window().PostQuit(3);
    return 0;
  };
  const auto twoBoxes = [&] {
    tapped = ui().MessageBox("確認", "終了します。", BoxButtons::OkCancel, BoxIcon::None);
    secondBoxUp = true;
    closed = ui().MessageBox("確認", "タイトルに戻ります", BoxButtons::OkCancel, BoxIcon::None);
  };
  const auto player = [&] {
    WaitForFrames(window(), 2);
    Tap(SDL_SCANCODE_ESCAPE);  // press and release in one turn: the box must still see the press
    while (!secondBoxUp) Sleep(5);
    WaitForFrames(window(), 2);
    window().Post(Message{MSG_CLOSE, 0, 0});  // the script's end closes the program
  };
  EXPECT_EQ(procedure.Run(twoBoxes, player), 3);
  EXPECT_EQ(tapped, BoxAnswer::Cancel);
  EXPECT_EQ(closed, BoxAnswer::Cancel);
}

TEST_F(SdlUiTest, NameEntryTakesTypedJapaneseText) {
  ScriptedProcedure procedure(window());
  std::vector<std::string> offered;
  int result = 0;
  const auto askForAName = [&] {
    result = ui().NameEntry("名前の入力", "名前を全角5文字以内で入力してください。", "晴臣",
                            [&](const std::string& text) {
                              offered.push_back(text);
                              return NameVerdict::Accept;
                            });
    window().PostQuit(0);
  };
  const auto player = [&] {
    WaitForFrames(window(), 3);  // the field has taken the focus
    Push(TextEvent(SDL_TEXTINPUT, "太郎", window().WindowId()));
    WaitForFrames(window(), 1);
    Tap(SDL_SCANCODE_RETURN);
  };
  EXPECT_EQ(procedure.Run(askForAName, player), 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(offered, std::vector<std::string>{"太郎"});
  EXPECT_FALSE(SDL_IsTextInputActive());  // the game's keys are raw again
}

}  // namespace
}  // namespace qv::platform::sdl
