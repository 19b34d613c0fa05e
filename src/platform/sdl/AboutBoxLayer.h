// The about box: a few lines of text and a close button.
#pragma once

#include <string>
#include <vector>

#include "platform/sdl/ModalLayer.h"

namespace qv::platform::sdl {

// Only the button closes it (Enter, Space or the pad's A press it, as it has the focus); there is
// no close box and Escape (or B) does nothing.
class AboutBoxLayer final : public ModalLayer {
 public:
  AboutBoxLayer(std::string caption, std::vector<std::string> lines, std::string closeLabel);

  std::string Title() const override { return caption_; }
  void ForEachText(const std::function<void(std::string_view)>& use) const override;
  ImVec2 Draw(const LayerFrame& frame) override;
  void Cancel() override { done_ = true; }
  bool Done() const override { return done_; }

 private:
  std::string caption_;
  std::vector<std::string> lines_;
  std::string closeLabel_;
  bool done_ = false;
};

}  // namespace qv::platform::sdl
