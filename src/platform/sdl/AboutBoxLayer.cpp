// The about box (see AboutBoxLayer.h).
#include "platform/sdl/AboutBoxLayer.h"

#include <algorithm>

namespace qv::platform::sdl {

AboutBoxLayer::AboutBoxLayer(std::string caption, std::vector<std::string> lines,
                             std::string closeLabel)
    : caption_(std::move(caption)), lines_(std::move(lines)), closeLabel_(std::move(closeLabel)) {}

void AboutBoxLayer::ForEachText(const std::function<void(std::string_view)>& use) const {
  use(caption_);
  for (const std::string& line : lines_) use(line);
  use(closeLabel_);
}

ImVec2 AboutBoxLayer::Draw(const LayerFrame& frame) {
  PlaceNextBox(frame.standalone);
  const std::string title = caption_ + "###qvabout" + std::to_string(frame.depth);
  ImGui::Begin(title.c_str(), nullptr, BoxWindowFlags(frame.standalone));
  RaiseCurrentWindow();
  ImGui::BeginDisabled(!frame.interactive);

  // The text on the left, the button at the top right beside it.
  const float font = ImGui::GetFontSize();
  ImGui::BeginGroup();
  for (const std::string& line : lines_) {
    ImGui::TextUnformatted(line.c_str(), line.c_str() + line.size());
  }
  ImGui::EndGroup();
  ImGui::SameLine(0, font * 1.5f);
  const float buttonWidth = std::max(font * 5.5f, ImGui::CalcTextSize(closeLabel_.c_str()).x +
                                                      ImGui::GetStyle().FramePadding.x * 4);
  if (ImGui::Button((closeLabel_ + "##close").c_str(), ImVec2(buttonWidth, 0))) done_ = true;
  if (frame.interactive &&
      (EnterPressed() || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Space), false) ||
       frame.PadPressed(PadButton::A))) {
    done_ = true;
  }

  ImGui::EndDisabled();
  const ImVec2 size = IdealWindowSize();
  ImGui::End();
  return size;
}

}  // namespace qv::platform::sdl
