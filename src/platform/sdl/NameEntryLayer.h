// The name-entry dialog: an edit field, an OK button, a prompt and a close box.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/Ui.h"
#include "platform/sdl/ModalLayer.h"

namespace qv::platform::sdl {

// OK (the button, Enter or the pad's A) hands the text to the engine's verdict; the close box ends
// the dialog with 2; Escape does nothing. Text composition by an input method is shown under the
// field.
class NameEntryLayer final : public ModalLayer {
 public:
  using Verdict = std::function<NameVerdict(const std::string&)>;

  NameEntryLayer(std::string caption, std::string prompt, const std::string& initialText,
                 Verdict onOk);

  std::string Title() const override { return caption_; }
  void ForEachText(const std::function<void(std::string_view)>& use) const override;
  ImVec2 Draw(const LayerFrame& frame) override;
  void AfterFrame() override;
  void OnEvent(const SDL_Event& event) override;
  void Cancel() override { Finish(2); }
  bool Done() const override { return result_ != 0; }

  // 1 after an accepted OK, 2 after the close box.
  int Result() const { return result_; }
  std::string Text() const { return text_.data(); }

 private:
  void Finish(int result) {
    if (result_ == 0) result_ = result;
  }
  static int EditCallback(ImGuiInputTextCallbackData* data);

  std::string caption_;
  std::string prompt_;
  Verdict onOk_;
  std::array<char, 256> text_{};
  std::string composition_;  // text the input method is still composing
  bool okRequested_ = false;
  bool clearRequested_ = false;
  bool cursorToEndRequested_ = false;
  bool focusRequested_ = true;
  SDL_Rect lastEditRect_{0, 0, 0, 0};
  int result_ = 0;
};

}  // namespace qv::platform::sdl
