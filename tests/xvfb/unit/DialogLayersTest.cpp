// Tests for the message box, the about box and the name-entry dialog, driven by keys and text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdl/AboutBoxLayer.h"
#include "platform/sdl/MessageBoxLayer.h"
#include "platform/sdl/NameEntryLayer.h"
#include "xvfb/unit/ImGuiHarness.h"
#include "xvfb/unit/SdlTestSupport.h"

namespace qv::platform::sdl {
namespace {

using testing::ImGuiHarness;
using testing::kEnterKey;
using testing::kEscapeKey;

TEST(MessageBoxLayerTest, EnterAnswersOkEscapeCancelsAndAnOkOnlyBoxAlwaysAnswersOk) {
  ImGuiHarness harness;
  const struct {
    BoxButtons buttons;
    testing::HarnessKey key;
    BoxAnswer answer;
  } cases[] = {{BoxButtons::OkCancel, kEnterKey, BoxAnswer::Ok},
               {BoxButtons::OkCancel, kEscapeKey, BoxAnswer::Cancel},
               {BoxButtons::Ok, kEscapeKey, BoxAnswer::Ok}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.key));
    MessageBoxLayer box("確認", "終了します。", c.buttons, BoxIcon::None);
    harness.SetLayers({&box});
    harness.Frames(2);
    EXPECT_FALSE(box.Done());
    harness.Key(c.key);
    EXPECT_TRUE(box.Done());
    EXPECT_EQ(box.Result(), c.answer);
    // Closing the program dismisses as Escape does.
    MessageBoxLayer closed("確認", "q", c.buttons, BoxIcon::None);
    closed.Cancel();
    EXPECT_EQ(closed.Result(), c.buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel);
  }
}

TEST(AboutBoxLayerTest, OnlyItsButtonClosesItAndTheBoxUnderItIgnoresKeys) {
  ImGuiHarness harness;
  MessageBoxLayer lower("lower", "a", BoxButtons::OkCancel, BoxIcon::None);
  AboutBoxLayer about("system version", {"line one", "line two"}, "閉じる");
  harness.SetLayers({&lower, &about});
  harness.Key(kEscapeKey);
  EXPECT_FALSE(about.Done());
  harness.Key(kEnterKey);  // the button has the focus
  EXPECT_TRUE(about.Done());
  EXPECT_FALSE(lower.Done());
}

class NameEntryLayerTest : public ::testing::Test {
 protected:
  NameEntryLayerTest() { harness_.SetLayers({&dialog_}); }
  // The verdict may open a box of its own: never inside a frame.
  ~NameEntryLayerTest() override { EXPECT_FALSE(calledInsideFrame_); }

  ImGuiHarness harness_;
  std::vector<std::string> offered_;
  NameVerdict verdict_ = NameVerdict::Accept;
  bool calledInsideFrame_ = false;
  NameEntryLayer dialog_{"名前の入力", "名前を全角5文字以内で入力してください。", "晴臣",
                         [this](const std::string& text) {
                           offered_.push_back(text);
                           calledInsideFrame_ |= ImGui::GetCurrentContext()->WithinFrameScope;
                           return verdict_;
                         }};
};

TEST_F(NameEntryLayerTest, EnterAsksForAVerdictAndEscapeDoesNothing) {
  harness_.Frames(2);
  EXPECT_EQ(dialog_.Text(), "晴臣");
  const struct {
    const char* typed;
    testing::HarnessKey key;
    NameVerdict verdict;
    const char* text;  // in the field afterwards
  } steps[] = {
      {"あいうえおか", kEnterKey, NameVerdict::RejectAndClear, ""},  // replaces the selected text
      {"abc", kEnterKey, NameVerdict::Reject, "abc"},  // the field has the focus again
      // Escape neither reverts what was typed nor takes the focus from the field.
      {"d", kEscapeKey, NameVerdict::Accept, "abcd"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.typed);
    verdict_ = step.verdict;
    harness_.Type(step.typed);
    harness_.Key(step.key);
    harness_.Frames(2);
    EXPECT_FALSE(dialog_.Done());
    EXPECT_EQ(dialog_.Text(), step.text);
  }
  harness_.Type("e");
  harness_.Key(kEnterKey);
  EXPECT_EQ(offered_, (std::vector<std::string>{"あいうえおか", "abc", "abcde"}));
  EXPECT_TRUE(dialog_.Done());
  EXPECT_EQ(dialog_.Result(), 1);
}

TEST_F(NameEntryLayerTest, TheCloseBoxEndsWithTwoWithoutAsking) {
  harness_.Frames(3);
  const ImGuiWindow* window = ImGui::FindWindowByName("名前の入力###qvname0");
  ASSERT_NE(window, nullptr);
  // The close box sits at the right end of the title bar.
  const ImRect title = window->TitleBarRect();
  harness_.Click(
      ImVec2(title.Max.x - ImGui::GetFontSize() * 0.5f - ImGui::GetStyle().FramePadding.x,
             (title.Min.y + title.Max.y) / 2));
  EXPECT_TRUE(dialog_.Done());
  EXPECT_EQ(dialog_.Result(), 2);
  EXPECT_TRUE(offered_.empty());
}

TEST_F(NameEntryLayerTest, EnterDuringCompositionBelongsToTheInputMethod) {
  dialog_.OnEvent(testing::TextEvent(SDL_TEXTEDITING, "たろ"));
  harness_.Key(kEnterKey);
  EXPECT_TRUE(offered_.empty());
  dialog_.OnEvent(testing::TextEvent(SDL_TEXTINPUT, "太郎"));
  harness_.Key(kEnterKey);
  EXPECT_EQ(offered_.size(), 1u);
}

}  // namespace
}  // namespace qv::platform::sdl
