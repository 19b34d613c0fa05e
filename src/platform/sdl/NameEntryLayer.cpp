// The name-entry dialog (see NameEntryLayer.h).
#include "platform/sdl/NameEntryLayer.h"

#include <algorithm>
#include <cstring>

namespace qv::platform::sdl {

namespace {
constexpr const char* kOkLabel = "OK";
}

NameEntryLayer::NameEntryLayer(std::string caption, std::string prompt,
                               const std::string& initialText, Verdict onOk)
    : caption_(std::move(caption)), prompt_(std::move(prompt)), onOk_(std::move(onOk)) {
  // Cut at a character boundary if the initial text does not fit.
  size_t length = std::min(initialText.size(), text_.size() - 1);
  while (length > 0 && length < initialText.size() &&
         (static_cast<unsigned char>(initialText[length]) & 0xC0) == 0x80) {
    --length;
  }
  std::memcpy(text_.data(), initialText.data(), length);
}

void NameEntryLayer::ForEachText(const std::function<void(std::string_view)>& use) const {
  use(caption_);
  use(prompt_);
  use(kOkLabel);
  use(text_.data());
}

int NameEntryLayer::EditCallback(ImGuiInputTextCallbackData* data) {
  // The field's own copy of the text is only reachable from here while it is being edited.
  auto* self = static_cast<NameEntryLayer*>(data->UserData);
  if (self->clearRequested_) {
    self->clearRequested_ = false;
    data->DeleteChars(0, data->BufTextLen);
  }
  if (self->cursorToEndRequested_) {
    self->cursorToEndRequested_ = false;
    data->CursorPos = data->SelectionStart = data->SelectionEnd = data->BufTextLen;
  }
  return 0;
}

ImVec2 NameEntryLayer::Draw(const LayerFrame& frame) {
  PlaceNextBox(frame.standalone);
  bool open = true;
  const std::string title = caption_ + "###qvname" + std::to_string(frame.depth);
  ImGui::Begin(title.c_str(), frame.standalone ? nullptr : &open, BoxWindowFlags(frame.standalone));
  RaiseCurrentWindow();
  ImGui::BeginDisabled(!frame.interactive);

  const float font = ImGui::GetFontSize();
  if (focusRequested_ && frame.interactive) {
    ImGui::SetKeyboardFocusHere();
    focusRequested_ = false;
  }
  ImGui::SetNextItemWidth(font * 12);
  const std::array<char, 256> typed = text_;
  ImGui::InputText("##name", text_.data(), text_.size(), ImGuiInputTextFlags_CallbackAlways,
                   &NameEntryLayer::EditCallback, this);
  // Dear ImGui takes Escape as "abandon the edit": it puts back the text the field started with
  // and drops the focus, so what the player typed next went nowhere. This box has no cancel, so
  // Escape changes nothing.
  if (ImGui::IsItemDeactivated() && EscapePressed()) {
    text_ = typed;
    focusRequested_ = true;
    cursorToEndRequested_ = true;
  }
  if (clearRequested_ && !ImGui::IsItemActive()) {  // the field is not editing: clear it directly
    text_[0] = '\0';
    clearRequested_ = false;
  }
  const ImVec2 editMin = ImGui::GetItemRectMin();
  const ImVec2 editMax = ImGui::GetItemRectMax();
  if (frame.requireGlyphs) frame.requireGlyphs(text_.data());

  ImGui::SameLine(0, font);
  const float buttonWidth =
      std::max(font * 5.5f, ImGui::CalcTextSize(kOkLabel).x + ImGui::GetStyle().FramePadding.x * 4);
  if (ImGui::Button(kOkLabel, ImVec2(buttonWidth, 0))) okRequested_ = true;
  if (!composition_.empty()) {
    ImGui::TextColored(ImVec4(0.1f, 0.2f, 0.7f, 1.0f), "%s", composition_.c_str());
    if (frame.requireGlyphs) frame.requireGlyphs(composition_);
  }
  ImGui::TextUnformatted(prompt_.c_str(), prompt_.c_str() + prompt_.size());

  // An Enter that ends a composition belongs to the input method, not to the dialog. A pad cannot
  // type: its A takes the name as it stands.
  if (frame.interactive && composition_.empty() && EnterPressed()) okRequested_ = true;
  if (frame.interactive && frame.PadPressed(PadButton::A)) okRequested_ = true;

  ImGui::EndDisabled();
  const ImVec2 size = IdealWindowSize();
  ImGui::End();
  if (!open && frame.interactive) Finish(2);

  // Tell the input method where the field is, so that its candidate list appears beside it.
  const SDL_Rect editRect{static_cast<int>(editMin.x), static_cast<int>(editMin.y),
                          static_cast<int>(editMax.x - editMin.x),
                          static_cast<int>(editMax.y - editMin.y)};
  if (std::memcmp(&editRect, &lastEditRect_, sizeof editRect) != 0) {
    lastEditRect_ = editRect;
    SDL_Rect copy = editRect;
    SDL_SetTextInputRect(&copy);
  }
  return size;
}

void NameEntryLayer::AfterFrame() {
  if (!okRequested_ || Done()) return;
  okRequested_ = false;
  // The verdict may show its own box, which lies over this dialog meanwhile.
  switch (onOk_ ? onOk_(text_.data()) : NameVerdict::Accept) {
    case NameVerdict::Accept:
      Finish(1);
      break;
    case NameVerdict::RejectAndClear:
      clearRequested_ = true;
      focusRequested_ = true;
      break;
    case NameVerdict::Reject:
      focusRequested_ = true;
      break;
  }
}

void NameEntryLayer::OnEvent(const SDL_Event& event) {
  if (event.type == SDL_TEXTEDITING) {
    composition_ = event.edit.text;
  } else if (event.type == SDL_TEXTINPUT) {
    composition_.clear();
  }
}

}  // namespace qv::platform::sdl
