// The modal user interface of real play: boxes, the pop-up menu and the dialogs, in Dear ImGui.
#pragma once

#include <bitset>
#include <memory>
#include <vector>

#include "platform/Ui.h"
#include "platform/sdl/ImGuiTarget.h"
#include "platform/sdl/ModalLayer.h"
#include "platform/sdl/SdlWindow.h"

namespace qv::platform::sdl {

// Each call runs a nested message loop on the window thread until its box or menu is done: the
// game keeps being shown underneath, requests from other threads keep being handled (and may
// open further boxes, stacked on top), but the game gets none of the input meanwhile.
class SdlUi final : public Ui, private ModalHooks {
 public:
  // `comforts`: the keys and pads move a focus in boxes and menus (see SdlOptions).
  SdlUi(SdlWindow& window, bool comforts) : window_(window), comforts_(comforts) {}
  ~SdlUi() override;
  SdlUi(const SdlUi&) = delete;
  SdlUi& operator=(const SdlUi&) = delete;

  // All window thread. A box asked for before the main window exists opens a window of its own.
  BoxAnswer MessageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
                       BoxIcon icon) override;
  uint32_t PopupMenu(const MenuItem& root, int x, int y) override;
  void AboutBox(const std::string& caption, const std::vector<std::string>& lines,
                const std::string& closeLabel) override;
  int NameEntry(const std::string& caption, const std::string& prompt,
                const std::string& initialText,
                const std::function<NameVerdict(const std::string&)>& onOk) override;

 private:
  // Runs the nested loop until `layer` is done.
  void RunModal(ModalLayer& layer);
  bool BeginSession(ModalLayer& layer);
  void EndSession();

  // ModalHooks
  void OnEvent(const SDL_Event& event) override;
  void OnPadButton(PadButton button, bool pressed) override;
  void OnCloseRequest() override;
  void Frame() override;

  SdlWindow& window_;
  const bool comforts_;
  std::unique_ptr<ImGuiTarget> mainTarget_;        // created at the first box over the window
  std::unique_ptr<ImGuiTarget> standaloneTarget_;  // only while a box without a window is up
  ImGuiTarget* target_ = nullptr;                  // the one the current layers draw into
  std::vector<ModalLayer*> layers_;                // bottom first
  // This Dear ImGui reads keys as held-down states once a frame, so a press and its release
  // between two frames (a quick tap, synthetic input, a slow frame) would go unseen: such a
  // release is held back until a frame has seen the press.
  std::bitset<SDL_NUM_SCANCODES> pressedSinceFrame_;
  std::vector<SDL_Event> heldReleases_;
  // The pad buttons held, and those pressed since the last frame (a tap between two frames
  // included), as seen since the outermost box or menu opened.
  std::bitset<kPadButtonCount> padHeld_;
  std::bitset<kPadButtonCount> padPressedSinceFrame_;
};

}  // namespace qv::platform::sdl
