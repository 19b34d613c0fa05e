// The modal user interface of real play (see SdlUi.h).
#include "platform/sdl/SdlUi.h"

#include "platform/sdl/AboutBoxLayer.h"
#include "platform/sdl/MessageBoxLayer.h"
#include "platform/sdl/NameEntryLayer.h"
#include "platform/sdl/PopupMenuLayer.h"

namespace qv::platform::sdl {

SdlUi::~SdlUi() = default;

BoxAnswer SdlUi::MessageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
                            BoxIcon icon) {
  MessageBoxLayer layer(caption, text, buttons, icon);
  RunModal(layer);
  return layer.Result();
}

uint32_t SdlUi::PopupMenu(const MenuItem& root, int x, int y) {
  if (!window_.Handle()) return 0;
  const FramePoint at = window_.Geometry().FrameToWindow(x, y);
  // A menu opened by a key or a pad button starts with its focus on the first item, so that it is
  // usable without a pointer.
  const bool focusFirst = comforts_ && !window_.LastPressByPointer();
  PopupMenuLayer layer(root, ImVec2(static_cast<float>(at.x), static_cast<float>(at.y)),
                       focusFirst);
  RunModal(layer);
  return layer.Result();
}

void SdlUi::AboutBox(const std::string& caption, const std::vector<std::string>& lines,
                     const std::string& closeLabel) {
  AboutBoxLayer layer(caption, lines, closeLabel);
  RunModal(layer);
}

int SdlUi::NameEntry(const std::string& caption, const std::string& prompt,
                     const std::string& initialText,
                     const std::function<NameVerdict(const std::string&)>& onOk) {
  NameEntryLayer layer(caption, prompt, initialText, onOk);
  // Text input stays off while the game has the keys, so an input method cannot swallow them.
  const bool textInputWasOn = SDL_IsTextInputActive();
  SDL_StartTextInput();
  RunModal(layer);
  if (!textInputWasOn) SDL_StopTextInput();
  return layer.Result();
}

bool SdlUi::BeginSession(ModalLayer& layer) {
  if (window_.Handle()) {
    if (!mainTarget_)
      mainTarget_ = std::make_unique<ImGuiTarget>(window_.Handle(), window_.Renderer());
    target_ = mainTarget_.get();
    target_->BeginSession(window_.Geometry().UiScale(), comforts_);
  } else {
    standaloneTarget_ = ImGuiTarget::CreateStandalone(layer.Title());
    if (!standaloneTarget_) return false;
    target_ = standaloneTarget_.get();
    target_->BeginSession(1, comforts_);
  }
  return true;
}

void SdlUi::EndSession() {
  pressedSinceFrame_.reset();
  heldReleases_.clear();
  padHeld_.reset();
  padPressedSinceFrame_.reset();
  target_ = nullptr;
  standaloneTarget_.reset();
  window_.Invalidate();  // the game's picture without the box
}

void SdlUi::RunModal(ModalLayer& layer) {
  if (layer.Done()) return;
  const bool outermost = layers_.empty();
  if (outermost && !BeginSession(layer)) {
    layer.Cancel();
    return;
  }
  layer.ForEachText([this](std::string_view text) { target_->RequireGlyphs(text); });
  layers_.push_back(&layer);
  while (!layer.Done()) {
    if (window_.QuitRequested()) {
      layer.Cancel();
      break;
    }
    window_.Turn(this);
    if (!layer.Done() && layers_.back() == &layer) layer.AfterFrame();
  }
  layers_.pop_back();
  if (outermost) EndSession();
}

void SdlUi::OnEvent(const SDL_Event& event) {
  if (!target_ || layers_.empty()) return;
  if (target_->Standalone() && event.type == SDL_WINDOWEVENT &&
      event.window.windowID == target_->WindowId() && event.window.event == SDL_WINDOWEVENT_CLOSE) {
    layers_.back()->Cancel();  // the box's own window has the close box
    return;
  }
  const bool isKey = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
  const SDL_Scancode scancode = isKey ? event.key.keysym.scancode : SDL_SCANCODE_UNKNOWN;
  const bool tracked = isKey && scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES;
  if (tracked && event.type == SDL_KEYUP && pressedSinceFrame_.test(scancode)) {
    heldReleases_.push_back(event);
  } else {
    if (tracked && event.type == SDL_KEYDOWN) pressedSinceFrame_.set(scancode);
    target_->ProcessEvent(event);
  }
  layers_.back()->OnEvent(event);
}

void SdlUi::OnPadButton(PadButton button, bool pressed) {
  if (!target_ || !comforts_) return;
  padHeld_.set(static_cast<size_t>(button), pressed);
  if (pressed) padPressedSinceFrame_.set(static_cast<size_t>(button));
}

void SdlUi::OnCloseRequest() {
  for (ModalLayer* layer : layers_) layer->Cancel();
}

void SdlUi::Frame() {
  if (!target_ || layers_.empty()) return;
  target_->NewFrame(padHeld_ | padPressedSinceFrame_);
  ImVec2 topSize(0, 0);
  LayerFrame frame;
  frame.padPressed = padPressedSinceFrame_;
  frame.standalone = target_->Standalone();
  frame.requireGlyphs = [this](std::string_view text) { target_->RequireGlyphs(text); };
  for (size_t index = 0; index < layers_.size(); ++index) {
    frame.interactive = index + 1 == layers_.size();
    frame.depth = static_cast<int>(index);
    topSize = layers_[index]->Draw(frame);
  }
  SDL_Renderer* renderer = target_->Renderer();
  if (frame.standalone) {
    SDL_SetRenderDrawColor(renderer, 240, 240, 240, 255);
    SDL_RenderClear(renderer);
  } else {
    window_.DrawFrame();
  }
  target_->RenderFrame();
  SDL_RenderPresent(renderer);
  pressedSinceFrame_.reset();
  padPressedSinceFrame_.reset();
  for (const SDL_Event& release : heldReleases_) target_->ProcessEvent(release);
  heldReleases_.clear();
  if (frame.standalone) {
    const std::string title = layers_.back()->Title();
    if (title != SDL_GetWindowTitle(target_->Window())) {
      SDL_SetWindowTitle(target_->Window(), title.c_str());
    }
    target_->FitToContent(topSize);
  }
}

}  // namespace qv::platform::sdl
