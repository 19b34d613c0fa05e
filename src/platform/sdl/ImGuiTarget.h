// A Dear ImGui context bound to one SDL window and renderer, with the Japanese font.
#pragma once

#include <SDL.h>

#include <bitset>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "imgui.h"
#include "platform/Message.h"
#include "platform/sdl/JapaneseFont.h"

namespace qv::platform::sdl {

// Everything here runs on the window thread.
class ImGuiTarget {
 public:
  // Draws into the main window (which it does not own).
  ImGuiTarget(SDL_Window* window, SDL_Renderer* renderer);
  // A window of its own, for a box shown while there is no main window. It stays hidden until
  // FitToContent has sized it. Null when no window can be opened.
  static std::unique_ptr<ImGuiTarget> CreateStandalone(const std::string& titleUtf8);
  ~ImGuiTarget();
  ImGuiTarget(const ImGuiTarget&) = delete;
  ImGuiTarget& operator=(const ImGuiTarget&) = delete;

  bool Standalone() const { return ownedWindow_ != nullptr; }
  SDL_Window* Window() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  uint32_t WindowId() const { return SDL_GetWindowID(window_); }

  // Makes this the current context for a new modal session: forgets the keys and buttons it saw
  // before (the game had the input since) and sizes font and style for `uiScale`. With
  // `navigation`, the arrow keys and the pad move a focus between the boxes' buttons.
  void BeginSession(int uiScale, bool navigation);
  void ProcessEvent(const SDL_Event& event);
  // Starts a frame with the pad buttons `padDown` held; the font is rebuilt first when it lacks
  // requested characters.
  void NewFrame(const std::bitset<kPadButtonCount>& padDown);
  // Ends the frame and draws it into the renderer (the caller presents).
  void RenderFrame();

  // Makes sure the font has every character of `textUtf8` from the next frame on.
  void RequireGlyphs(std::string_view textUtf8);

  // Standalone window: resizes it to `size` (points) and shows it once the size has settled.
  void FitToContent(ImVec2 size);

 private:
  ImGuiTarget(SDL_Window* window, SDL_Renderer* renderer, SDL_Window* ownedWindow,
              SDL_Renderer* ownedRenderer);
  void RebuildFont();

  SDL_Window* window_;
  SDL_Renderer* renderer_;
  SDL_Window* ownedWindow_;
  SDL_Renderer* ownedRenderer_;
  ImGuiContext* context_ = nullptr;
  FontFile fontFile_;
  std::vector<char> fontData_;  // the font file, read once; the atlas borrows it at each rebuild
  ImFontGlyphRangesBuilder glyphs_;
  ImVector<ImWchar> ranges_;  // must outlive the font atlas built from it
  bool fontStale_ = true;
  int uiScale_ = 1;
  float fontPixels_ = 0;
  int framesUntilShown_ = 3;
  ImVec2 fittedSize_{0, 0};
};

}  // namespace qv::platform::sdl
