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

// The item `step` rows from `from` (wrapping around, over separators); -1 when there is none.
int StepFocus(const MenuItem& menu, int from, int step) {
  const int count = static_cast<int>(menu.children.size());
  int index = from < 0 ? (step > 0 ? -1 : count) : from;
  for (int tried = 0; tried < count; ++tried) {
    index = (index + step + count) % count;
    if (menu.children[static_cast<size_t>(index)].kind != MenuItem::Kind::Separator) return index;
  }
  return -1;
}

bool KeyPressed(ImGuiKey key) {
  return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), true);
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

PopupMenuLayer::PopupMenuLayer(const MenuItem& root, ImVec2 anchor, bool focusFirst)
    : root_(root), anchor_(anchor) {
  if (root_.children.empty()) Finish(0);
  if (focusFirst) {
    levels_.resize(1);
    levels_[0].focus = StepFocus(root_, -1, 1);
    keysOwnFocus_ = true;
  }
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

    if (keysOwnFocus_ && frame.interactive && level == keyLevel_ && !isOpen &&
        levels_[level].focus == static_cast<int>(index)) {
      draw->AddRectFilled(min, max, ImGui::GetColorU32(ImGuiCol_HeaderHovered));
    }
    if (frame.interactive && ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) {
      const bool opens = item.kind == MenuItem::Kind::Submenu && !item.greyed;
      if (!keysOwnFocus_) {
        levels_[level].openChild = opens ? static_cast<int>(index) : -1;
        levels_[level].focus = static_cast<int>(index);
        keyLevel_ = level;
      }
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
  const ImGuiIO& io = ImGui::GetIO();
  if (io.MouseDelta.x != 0 || io.MouseDelta.y != 0 ||
      ImGui::IsMouseClicked(ImGuiMouseButton_Left) ||
      ImGui::IsMouseClicked(ImGuiMouseButton_Right)) {
    keysOwnFocus_ = false;
  }
  Anchor anchor{anchor_, anchor_};
  const MenuItem* menu = &root_;
  std::vector<const MenuItem*> menus;
  bool hovered = false;
  size_t level = 0;
  for (;; ++level) {
    menus.push_back(menu);
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
    } else {
      Navigate(menus, frame);
    }
  }
  return levels_.empty() ? ImVec2(0, 0) : levels_[0].size;
}

void PopupMenuLayer::Navigate(const std::vector<const MenuItem*>& menus, const LayerFrame& frame) {
  const size_t deepest = menus.size() - 1;
  if (EscapePressed() || frame.PadPressed(PadButton::B) ||
      ((KeyPressed(ImGuiKey_LeftArrow) || frame.PadPressed(PadButton::Left)) && deepest > 0)) {
    if (deepest == 0) {
      Finish(0);
    } else {
      levels_[deepest - 1].openChild = -1;
      keyLevel_ = std::min(keyLevel_, deepest - 1);
      keysOwnFocus_ = true;
    }
    return;
  }
  keyLevel_ = std::min(keyLevel_, deepest);
  const MenuItem& menu = *menus[keyLevel_];
  Level& at = levels_[keyLevel_];
  const int step = (KeyPressed(ImGuiKey_DownArrow) || frame.PadPressed(PadButton::Down)) ? 1
                   : (KeyPressed(ImGuiKey_UpArrow) || frame.PadPressed(PadButton::Up))   ? -1
                                                                                         : 0;
  if (step != 0) {
    at.focus = StepFocus(menu, at.focus, step);
    at.openChild = -1;
    keysOwnFocus_ = true;
    return;
  }
  const bool choose = EnterPressed() || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Space)) ||
                      frame.PadPressed(PadButton::A);
  const bool enter =
      choose || KeyPressed(ImGuiKey_RightArrow) || frame.PadPressed(PadButton::Right);
  if (!enter || at.focus < 0 || static_cast<size_t>(at.focus) >= menu.children.size()) return;
  const MenuItem& item = menu.children[static_cast<size_t>(at.focus)];
  if (item.greyed) return;
  if (item.kind == MenuItem::Kind::Submenu) {
    at.openChild = at.focus;
    ++keyLevel_;
    if (levels_.size() <= keyLevel_) levels_.resize(keyLevel_ + 1);
    levels_[keyLevel_].focus = StepFocus(item, -1, 1);
    keysOwnFocus_ = true;
  } else if (item.kind == MenuItem::Kind::Command && choose) {
    Finish(item.id);
  }
}

}  // namespace qv::platform::sdl
