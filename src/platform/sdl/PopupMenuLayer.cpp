// The pop-up menu (see PopupMenuLayer.h).
#include "platform/sdl/PopupMenuLayer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "imgui_internal.h"

namespace qv::platform::sdl {

namespace {

constexpr ImGuiWindowFlags kMenuWindowFlags =
    ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
    ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings |
    ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollbar |
    ImGuiWindowFlags_NoCollapse;

void VisitTexts(const MenuItem& menu, const std::function<void(std::string_view)>& use) {
  for (const MenuItem& item : menu.children) {
    use(item.text);
    VisitTexts(item, use);
  }
}

}  // namespace

float PlaceMenuAlongAxis(float preferred, float size, float limit, float alternativeEnd) {
  float start = preferred;
  if (start + size > limit) {
    start = alternativeEnd - size;
    if (start < 0) start = limit - size;
  }
  return std::max(start, 0.0f);
}

PopupMenuLayer::PopupMenuLayer(const MenuItem& root, ImVec2 anchor) : root_(root), anchor_(anchor) {
  if (root_.children.empty()) Finish(0);
}

void PopupMenuLayer::ForEachText(const std::function<void(std::string_view)>& use) const {
  VisitTexts(root_, use);
}

bool PopupMenuLayer::DrawLevel(const MenuItem& menu, size_t level, const Anchor& anchor,
                               const LayerFrame& frame, Anchor& childAnchor, bool& hovered) {
  if (levels_.size() <= level) levels_.resize(level + 1);
  const ImVec2 display = ImGui::GetIO().DisplaySize;
  const ImVec2 size = levels_[level].size;
  ImGui::SetNextWindowPos(
      ImVec2(PlaceMenuAlongAxis(anchor.preferred.x, size.x, display.x, anchor.alternativeEnd.x),
             PlaceMenuAlongAxis(anchor.preferred.y, size.y, display.y, anchor.alternativeEnd.y)));
  const std::string name = "##qvmenu" + std::to_string(frame.depth) + "_" + std::to_string(level);
  const ImGuiStyle& style = ImGui::GetStyle();
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(style.ItemSpacing.x, 0));
  ImGui::Begin(name.c_str(), nullptr, kMenuWindowFlags);
  RaiseCurrentWindow();
  ImGui::BeginDisabled(!frame.interactive);
  if (ImGui::IsWindowHovered(ImGuiHoveredFlags_AllowWhenBlockedByActiveItem)) hovered = true;

  const float font = ImGui::GetFontSize();
  const float gutter = font * 1.6f;
  const float arrowSpace = font * 2.0f;
  float labelWidth = 0;
  for (const MenuItem& item : menu.children) {
    labelWidth = std::max(labelWidth, ImGui::CalcTextSize(item.text.c_str()).x);
  }
  const float rowWidth = gutter + labelWidth + arrowSpace;
  const float rowHeight = font + style.FramePadding.y * 2;
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 windowPos = ImGui::GetWindowPos();
  const float windowRight = windowPos.x + ImGui::GetWindowWidth();
  bool childOpen = false;

  for (size_t index = 0; index < menu.children.size(); ++index) {
    const MenuItem& item = menu.children[index];
    ImGui::PushID(static_cast<int>(index));
    if (item.kind == MenuItem::Kind::Separator) {
      // A one-pixel rule on whole pixels: ImGui's own separator is an anti-aliased line, which
      // some renderers draw a pixel off along part of its length.
      const ImVec2 at = ImGui::GetCursorScreenPos();
      const float ruleY = std::floor(at.y + font * 0.25f);
      draw->AddRectFilled(ImVec2(std::floor(windowPos.x + style.WindowPadding.x * 0.5f), ruleY),
                          ImVec2(std::floor(windowRight - style.WindowPadding.x * 0.5f), ruleY + 1),
                          ImGui::GetColorU32(ImGuiCol_Separator));
      ImGui::Dummy(ImVec2(rowWidth, font * 0.5f + 1));
      ImGui::PopID();
      continue;
    }
    const bool isOpen = levels_[level].openChild == static_cast<int>(index);
    ImGui::Selectable("##item", isOpen, item.greyed ? ImGuiSelectableFlags_Disabled : 0,
                      ImVec2(rowWidth, rowHeight));
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    const ImU32 colour = ImGui::GetColorU32(item.greyed ? ImGuiCol_TextDisabled : ImGuiCol_Text);
    const float textY = min.y + (max.y - min.y - font) * 0.5f;
    if (item.checked && item.radioCheck) {
      draw->AddCircleFilled(ImVec2(min.x + gutter * 0.5f, min.y + (max.y - min.y) * 0.5f),
                            font * 0.2f, colour);
    } else if (item.checked) {
      const float mark = font * 0.7f;
      ImGui::RenderCheckMark(
          draw, ImVec2(min.x + (gutter - mark) * 0.5f, textY + (font - mark) * 0.5f), colour, mark);
    }
    draw->AddText(ImVec2(min.x + gutter, textY), colour, item.text.c_str());
    if (item.kind == MenuItem::Kind::Submenu) {
      ImGui::RenderArrow(draw, ImVec2(max.x - arrowSpace * 0.6f, textY), colour, ImGuiDir_Right,
                         0.7f);
    }

    if (frame.interactive && ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) {
      const bool opens = item.kind == MenuItem::Kind::Submenu && !item.greyed;
      levels_[level].openChild = opens ? static_cast<int>(index) : -1;
      if (item.kind == MenuItem::Kind::Command && !item.greyed &&
          (ImGui::IsMouseReleased(ImGuiMouseButton_Left) ||
           ImGui::IsMouseReleased(ImGuiMouseButton_Right))) {
        Finish(item.id);
      }
    }
    if (levels_[level].openChild == static_cast<int>(index)) {
      childOpen = true;
      childAnchor.preferred = ImVec2(windowRight, min.y - style.WindowPadding.y);
      childAnchor.alternativeEnd = ImVec2(windowPos.x, max.y + style.WindowPadding.y);
    }
    ImGui::PopID();
  }

  ImGui::EndDisabled();
  levels_[level].size = ImGui::GetWindowSize();
  ImGui::End();
  ImGui::PopStyleVar();
  return childOpen;
}

ImVec2 PopupMenuLayer::Draw(const LayerFrame& frame) {
  Anchor anchor{anchor_, anchor_};
  const MenuItem* menu = &root_;
  bool hovered = false;
  size_t level = 0;
  for (;; ++level) {
    Anchor childAnchor;
    if (!DrawLevel(*menu, level, anchor, frame, childAnchor, hovered)) break;
    const int open = levels_[level].openChild;
    if (open < 0 || static_cast<size_t>(open) >= menu->children.size()) break;
    menu = &menu->children[static_cast<size_t>(open)];
    anchor = childAnchor;
  }
  // Levels below the deepest drawn one are closed: forget what was open in them (their sizes stay
  // right for placing them when they open again).
  for (size_t closed = level + 1; closed < levels_.size(); ++closed) levels_[closed].openChild = -1;

  if (frame.interactive && !done_) {
    if ((ImGui::IsMouseClicked(ImGuiMouseButton_Left) ||
         ImGui::IsMouseClicked(ImGuiMouseButton_Right)) &&
        !hovered) {
      Finish(0);
    } else if (EscapePressed()) {
      if (level == 0) {
        Finish(0);
      } else {
        levels_[level - 1].openChild = -1;
      }
    }
  }
  return levels_.empty() ? ImVec2(0, 0) : levels_[0].size;
}

}  // namespace qv::platform::sdl
