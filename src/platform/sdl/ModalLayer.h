// One modal box or menu of the user interface, drawn with Dear ImGui a frame at a time.
#pragma once

#include <SDL.h>

#include <bitset>
#include <functional>
#include <string>
#include <string_view>

#include "imgui.h"
#include "platform/Message.h"

namespace qv::platform::sdl {

// How a layer is to draw itself this frame.
struct LayerFrame {
  // Only the top layer takes input; the ones under it are drawn greyed.
  bool interactive = true;
  // The layer fills a window of its own (there is no main window): no title bar, no centring.
  bool standalone = false;
  // Distinguishes the ImGui windows of nested layers.
  int depth = 0;
  // Characters the layer shows that it could not announce beforehand (typed text).
  std::function<void(std::string_view)> requireGlyphs;
  // The pad buttons pressed since the last frame. The pad also reaches Dear ImGui's navigation
  // (A activates the focused button, the D-pad moves the focus).
  std::bitset<kPadButtonCount> padPressed;

  bool PadPressed(PadButton button) const { return padPressed.test(static_cast<size_t>(button)); }
};

// Window thread only. Layers are stacked: a box asked for while a menu is up lies over the menu.
class ModalLayer {
 public:
  virtual ~ModalLayer() = default;

  // The caption of a standalone window.
  virtual std::string Title() const = 0;
  // Calls `use` with every text the layer will show, so the font can have their characters.
  virtual void ForEachText(const std::function<void(std::string_view)>& use) const = 0;

  // Draws the layer into the current ImGui frame; returns the size its (main) ImGui window needs.
  virtual ImVec2 Draw(const LayerFrame& frame) = 0;
  // Runs between frames, where it may call back into the engine (which may open nested layers).
  virtual void AfterFrame() {}
  // Raw events while the layer is on top (text composition).
  virtual void OnEvent(const SDL_Event& event) { (void)event; }

  // Ends the layer as its close box would, because the program is closing.
  virtual void Cancel() = 0;
  virtual bool Done() const = 0;
};

// The ImGui window flags every box uses; `standalone` boxes fill their own window.
ImGuiWindowFlags BoxWindowFlags(bool standalone);
// Places the next box: centred on the display, or at the corner of its own window.
void PlaceNextBox(bool standalone);
// The size the current ImGui window needs for its content (what automatic sizing aims at before
// the display clamps it): a standalone box sizes its own window by this.
ImVec2 IdealWindowSize();
// Puts the current ImGui window in front of those drawn before it this frame.
void RaiseCurrentWindow();
// The key was pressed this frame (Enter counts the keypad's too).
bool EnterPressed();
bool EscapePressed();
// Gives the current ImGui window's last item the keys' and pad's focus, as if the player had moved
// it there (shown only once they do).
void FocusLastItem();

}  // namespace qv::platform::sdl
