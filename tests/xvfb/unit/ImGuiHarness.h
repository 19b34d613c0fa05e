// Test support: runs modal layers frame by frame in a bare Dear ImGui context with scripted input.
#pragma once

#include <vector>

#include "imgui.h"
#include "imgui_internal.h"
#include "platform/sdl/ModalLayer.h"

namespace qv::platform::sdl::testing {

// Key indices the harness maps ImGui's named keys to (any distinct indices will do).
enum HarnessKey { kEnterKey = 1, kEscapeKey, kUpKey, kDownKey, kLeftKey, kRightKey };

class ImGuiHarness {
 public:
  ImGuiHarness() : context_(ImGui::CreateContext()) {
    ImGui::SetCurrentContext(context_);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(800, 600);
    io.DeltaTime = 1.0f / 60;
    io.KeyMap[ImGuiKey_Enter] = kEnterKey;
    io.KeyMap[ImGuiKey_Escape] = kEscapeKey;
    io.KeyMap[ImGuiKey_UpArrow] = kUpKey;
    io.KeyMap[ImGuiKey_DownArrow] = kDownKey;
    io.KeyMap[ImGuiKey_LeftArrow] = kLeftKey;
    io.KeyMap[ImGuiKey_RightArrow] = kRightKey;
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
  }
  ~ImGuiHarness() { ImGui::DestroyContext(context_); }
  ImGuiHarness(const ImGuiHarness&) = delete;
  ImGuiHarness& operator=(const ImGuiHarness&) = delete;

  // The layers drawn each frame, bottom first; the last one is interactive.
  void SetLayers(std::vector<ModalLayer*> layers) { layers_ = std::move(layers); }

  // Each frame draws every layer, then lets the top one act between frames.
  void Frames(int count = 1) {
    for (int i = 0; i < count; ++i) {
      ImGui::NewFrame();
      for (size_t index = 0; index < layers_.size(); ++index) {
        LayerFrame frame;
        frame.interactive = index + 1 == layers_.size();
        frame.depth = static_cast<int>(index);
        layers_[index]->Draw(frame);
      }
      ImGui::Render();
      if (!layers_.empty() && !layers_.back()->Done()) layers_.back()->AfterFrame();
    }
  }
  void MoveTo(ImVec2 position) {
    ImGui::GetIO().MousePos = position;
    Frames();
  }
  // Press and release at `position`, a frame each, as a quick click is seen.
  void Click(ImVec2 position, int button = ImGuiMouseButton_Left) {
    MoveTo(position);
    for (bool down : {true, false}) {
      ImGui::GetIO().MouseDown[button] = down;
      Frames();
    }
  }
  void Key(HarnessKey key) {
    for (bool down : {true, false}) {
      ImGui::GetIO().KeysDown[key] = down;
      Frames();
    }
  }
  void Type(const char* utf8) {
    ImGui::GetIO().AddInputCharactersUTF8(utf8);
    Frames();
  }

  // The ImGui window of that name as drawn in the last frame, or null when it was not drawn.
  static ImGuiWindow* DrawnWindow(const char* name) {
    ImGuiWindow* window = ImGui::FindWindowByName(name);
    return window && window->Active ? window : nullptr;
  }

 private:
  ImGuiContext* context_;
  std::vector<ModalLayer*> layers_;
};

}  // namespace qv::platform::sdl::testing
