// Shared helpers of the modal layers (see ModalLayer.h).
#include "platform/sdl/ModalLayer.h"

#include "imgui_internal.h"

namespace qv::platform::sdl {

ImGuiWindowFlags BoxWindowFlags(bool standalone) {
  ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize |
                           ImGuiWindowFlags_NoMove | ImGuiWindowFlags_AlwaysAutoResize |
                           ImGuiWindowFlags_NoSavedSettings;
  if (standalone) flags |= ImGuiWindowFlags_NoTitleBar;
  return flags;
}

void PlaceNextBox(bool standalone) {
  if (standalone) {
    ImGui::SetNextWindowPos(ImVec2(0, 0), ImGuiCond_Always);
  } else {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(display.x * 0.5f, display.y * 0.5f), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
  }
}

ImVec2 IdealWindowSize() {
  const ImGuiWindow* window = ImGui::GetCurrentWindow();
  return ImVec2(window->ContentSizeIdeal.x + window->WindowPadding.x * 2,
                window->ContentSizeIdeal.y + window->WindowPadding.y * 2 +
                    window->TitleBarHeight() + window->MenuBarHeight());
}

void RaiseCurrentWindow() {
  // Display order follows the stack of layers, drawn bottom first, whatever ImGui last focused.
  ImGui::BringWindowToDisplayFront(ImGui::GetCurrentWindow());
}

bool EnterPressed() {
  return ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false) ||
         ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter), false);
}

bool EscapePressed() {
  return ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false);
}

void FocusLastItem() {
  ImGui::SetFocusID(ImGui::GetItemID(), ImGui::GetCurrentWindow());
}

}  // namespace qv::platform::sdl
