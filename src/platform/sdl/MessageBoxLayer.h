// The message box: caption, optional warning sign, text, and OK or OK and Cancel.
#pragma once

#include <string>

#include "platform/Ui.h"
#include "platform/sdl/ModalLayer.h"

namespace qv::platform::sdl {

// Enter and the pad's A answer with the focused button (OK until the keys or the pad move the
// focus); Escape, the pad's B and the close box answer Cancel, or OK when that is the only button.
class MessageBoxLayer final : public ModalLayer {
 public:
  MessageBoxLayer(std::string caption, std::string text, BoxButtons buttons, BoxIcon icon);

  std::string Title() const override { return caption_; }
  void ForEachText(const std::function<void(std::string_view)>& use) const override;
  ImVec2 Draw(const LayerFrame& frame) override;
  void Cancel() override { Answer(DismissAnswer()); }
  bool Done() const override { return done_; }

  BoxAnswer Result() const { return answer_; }

 private:
  BoxAnswer DismissAnswer() const {
    return buttons_ == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
  }
  void Answer(BoxAnswer answer);

  std::string caption_;
  std::string text_;
  BoxButtons buttons_;
  BoxIcon icon_;
  bool done_ = false;
  BoxAnswer answer_ = BoxAnswer::Cancel;
};

// Draws the warning sign (a yellow triangle with an exclamation mark) at the cursor, `size` high.
void DrawWarningSign(float size);

}  // namespace qv::platform::sdl
