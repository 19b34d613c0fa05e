// The pop-up menu: nested sub-menus that open on hover, check and radio marks, greyed items.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Ui.h"
#include "platform/sdl/ModalLayer.h"

namespace qv::platform::sdl {

// Where a menu window of `size` starts along one axis: at `preferred` when it fits before
// `limit`, else ending at `alternativeEnd` (the other side of the cursor or of the parent menu),
// else against the limit; never before 0.
float PlaceMenuAlongAxis(float preferred, float size, float limit, float alternativeEnd);

// A release of either button on an enabled command chooses it; a press outside every open menu
// window, or Escape on the top menu, dismisses the menu (0). Escape in a sub-menu closes it.
// The keys and the pad move a focus of their own: up and down within a menu, right (or Enter,
// Space, A) into a sub-menu, left back out of it; Enter, Space or A choose the focused command,
// and B does what Escape does. The pointer takes the focus back as soon as it moves.
class PopupMenuLayer final : public ModalLayer {
 public:
  // `anchor` is the pointer position in the display's coordinates (points). With `focusFirst`, the
  // first item starts with the focus (the menu was opened without the pointer).
  PopupMenuLayer(const MenuItem& root, ImVec2 anchor, bool focusFirst = false);

  std::string Title() const override { return {}; }
  void ForEachText(const std::function<void(std::string_view)>& use) const override;
  ImVec2 Draw(const LayerFrame& frame) override;
  void Cancel() override { Finish(0); }
  bool Done() const override { return done_; }

  // The chosen command id, 0 when dismissed.
  uint32_t Result() const { return chosen_; }

 private:
  struct Level {
    int openChild = -1;  // index of the sub-menu open from this level
    int focus = -1;      // index of the item the keys are on
    ImVec2 size{0, 0};   // as measured last frame
  };
  struct Anchor {
    ImVec2 preferred;
    ImVec2 alternativeEnd;
  };
  void Finish(uint32_t id) {
    if (done_) return;
    chosen_ = id;
    done_ = true;
  }
  // Draws one level's window; returns the anchor of the sub-menu open from it, if any.
  bool DrawLevel(const MenuItem& menu, size_t level, const Anchor& anchor, const LayerFrame& frame,
                 Anchor& childAnchor, bool& hovered);
  // The keys' and the pad's moves; `menus` are the menus drawn, the root first.
  void Navigate(const std::vector<const MenuItem*>& menus, const LayerFrame& frame);

  const MenuItem& root_;
  ImVec2 anchor_;
  std::vector<Level> levels_;
  size_t keyLevel_ = 0;        // the level whose focus the keys move
  bool keysOwnFocus_ = false;  // until the pointer moves: hovering changes nothing meanwhile
  bool done_ = false;
  uint32_t chosen_ = 0;
};

}  // namespace qv::platform::sdl
