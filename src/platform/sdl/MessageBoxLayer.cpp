// The message box (see MessageBoxLayer.h).
#include "platform/sdl/MessageBoxLayer.h"

#include <algorithm>

namespace qv::platform::sdl {

namespace {
constexpr const char* kOkLabel = "OK";
constexpr const char* kCancelLabel = "キャンセル";
// Lines longer than this many font heights are wrapped, as a system box would.
constexpr float kMaxTextWidthInLines = 30.0f;
}  // namespace

MessageBoxLayer::MessageBoxLayer(std::string caption, std::string text, BoxButtons buttons,
                                 BoxIcon icon)
    : caption_(std::move(caption)), text_(std::move(text)), buttons_(buttons), icon_(icon) {}

void MessageBoxLayer::ForEachText(const std::function<void(std::string_view)>& use) const {
  use(caption_);
  use(text_);
  use(kOkLabel);
  use(kCancelLabel);
}

void MessageBoxLayer::Answer(BoxAnswer answer) {
  if (done_) return;
  answer_ = answer;
  done_ = true;
}

void DrawWarningSign(float size) {
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 top(origin.x + size * 0.5f, origin.y + size * 0.06f);
  const ImVec2 left(origin.x + size * 0.02f, origin.y + size * 0.94f);
  const ImVec2 right(origin.x + size * 0.98f, origin.y + size * 0.94f);
  draw->AddTriangleFilled(top, right, left, IM_COL32(255, 204, 0, 255));
  draw->AddTriangle(top, right, left, IM_COL32(96, 72, 0, 255), std::max(1.0f, size / 24));
  const float stroke = size * 0.1f;
  const float centreX = origin.x + size * 0.5f;
  draw->AddRectFilled(ImVec2(centreX - stroke * 0.5f, origin.y + size * 0.34f),
                      ImVec2(centreX + stroke * 0.5f, origin.y + size * 0.68f),
                      IM_COL32(0, 0, 0, 255));
  draw->AddCircleFilled(ImVec2(centreX, origin.y + size * 0.79f), stroke * 0.6f,
                        IM_COL32(0, 0, 0, 255));
  ImGui::Dummy(ImVec2(size, size));
}

ImVec2 MessageBoxLayer::Draw(const LayerFrame& frame) {
  PlaceNextBox(frame.standalone);
  bool open = true;
  const std::string title = caption_ + "###qvbox" + std::to_string(frame.depth);
  ImGui::Begin(title.c_str(), frame.standalone ? nullptr : &open, BoxWindowFlags(frame.standalone));
  RaiseCurrentWindow();
  ImGui::BeginDisabled(!frame.interactive);

  const float font = ImGui::GetFontSize();
  // A box in a window of its own is at least as wide as its caption in the title bar.
  const float minimumWidth =
      frame.standalone ? ImGui::CalcTextSize(caption_.c_str()).x + font * 4 : 0.0f;
  ImGui::Dummy(ImVec2(minimumWidth, font * 0.25f));
  if (icon_ == BoxIcon::Warning) {
    DrawWarningSign(font * 2);
    ImGui::SameLine(0, font);
  }
  ImGui::BeginGroup();
  if (icon_ == BoxIcon::Warning) {  // a one-line text sits level with the sign's middle
    const float lines = static_cast<float>(std::count(text_.begin(), text_.end(), '\n') + 1);
    ImGui::Dummy(ImVec2(0, std::max(0.0f, (font * 2 - lines * ImGui::GetTextLineHeight()) / 2 -
                                              ImGui::GetStyle().ItemSpacing.y)));
  }
  ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + font * kMaxTextWidthInLines);
  ImGui::TextUnformatted(text_.c_str(), text_.c_str() + text_.size());
  ImGui::PopTextWrapPos();
  ImGui::EndGroup();
  ImGui::Dummy(ImVec2(0, font * 0.5f));

  // The buttons, equally wide and centred under the text.
  const ImGuiStyle& style = ImGui::GetStyle();
  const float buttonWidth =
      std::max(font * 5.5f, ImGui::CalcTextSize(kCancelLabel).x + style.FramePadding.x * 4);
  const int count = buttons_ == BoxButtons::OkCancel ? 2 : 1;
  const float rowWidth = buttonWidth * count + style.ItemSpacing.x * (count - 1);
  const float contentWidth = std::max(ImGui::GetContentRegionAvail().x, rowWidth);
  ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (contentWidth - rowWidth) * 0.5f);
  if (ImGui::Button(kOkLabel, ImVec2(buttonWidth, 0))) Answer(BoxAnswer::Ok);
  // The focus starts on OK, and comes back to it when a click beside the box took it away: the
  // keys and the pad could not reach the buttons again otherwise.
  if (frame.interactive && !ImGui::IsWindowFocused()) FocusLastItem();
  bool cancelFocused = false;
  if (count == 2) {
    ImGui::SameLine();
    if (ImGui::Button(kCancelLabel, ImVec2(buttonWidth, 0))) Answer(BoxAnswer::Cancel);
    cancelFocused = ImGui::IsItemFocused();
  }
  if (frame.interactive) {
    // Dear ImGui activates the focused button itself only once the focus has been shown.
    if (EnterPressed() || frame.PadPressed(PadButton::A)) {
      Answer(cancelFocused ? BoxAnswer::Cancel : BoxAnswer::Ok);
    }
    if (EscapePressed() || frame.PadPressed(PadButton::B)) Answer(DismissAnswer());
  }

  ImGui::EndDisabled();
  const ImVec2 size = IdealWindowSize();
  ImGui::End();
  if (!open && frame.interactive) Answer(DismissAnswer());
  return size;
}

}  // namespace qv::platform::sdl
