// Tests for the pop-up menu: choosing, sub-menus, greyed items, the keys, dismissal and placement.
#include "platform/sdl/PopupMenuLayer.h"

#include <gtest/gtest.h>

#include "xvfb/unit/ImGuiHarness.h"

namespace qv::platform::sdl {
namespace {

using testing::ImGuiHarness;

MenuItem Item(const char* text, uint32_t id, bool greyed = false, std::vector<MenuItem> sub = {}) {
  MenuItem item;
  item.kind = sub.empty() ? MenuItem::Kind::Command : MenuItem::Kind::Submenu;
  item.text = text;
  item.id = id;
  item.greyed = greyed;
  item.children = std::move(sub);
  return item;
}

// Root: "Auto" 1, "Settings" > {"Fast" 10, "Slow" 11 (greyed)}, "Quit" 3.
MenuItem TestMenu() {
  MenuItem root;
  root.children = {Item("Auto", 1),
                   Item("Settings", 0, false, {Item("Fast", 10), Item("Slow", 11, true)}),
                   Item("Quit", 3)};
  return root;
}

class PopupMenuLayerTest : public ::testing::Test {
 protected:
  PopupMenuLayerTest() : menu_(TestMenu()), layer_(menu_, ImVec2(100, 100)) {
    harness_.SetLayers({&layer_});
    harness_.Frames(3);  // automatically sized windows know their size after a frame or two
  }

  // The centre of row `row` of the menu window at `level` (no separators in these menus).
  ImVec2 Row(int level, int row) const {
    const std::string name = "##qvmenu0_" + std::to_string(level);
    const ImGuiWindow* window = ImGuiHarness::DrawnWindow(name.c_str());
    EXPECT_NE(window, nullptr) << name;
    if (!window) return ImVec2(-1, -1);
    const ImGuiStyle& style = ImGui::GetStyle();
    const float rowHeight = ImGui::GetFontSize() + style.FramePadding.y * 2;
    return ImVec2(window->Pos.x + window->Size.x * 0.5f,
                  window->Pos.y + style.WindowPadding.y + rowHeight * (row + 0.5f));
  }

  ImGuiHarness harness_;
  MenuItem menu_;
  PopupMenuLayer layer_;
};

TEST_F(PopupMenuLayerTest, EitherButtonChoosesACommandAndAClickOutsideDismisses) {
  const struct {
    int row;  // -1: away from the menu
    int button;
    uint32_t result;
  } cases[] = {{2, ImGuiMouseButton_Left, 3}, {0, ImGuiMouseButton_Right, 1}, {-1, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    PopupMenuLayer layer(menu_, ImVec2(100, 100));
    harness_.SetLayers({&layer});
    harness_.Frames(3);
    harness_.Click(c.row < 0 ? ImVec2(600, 500) : Row(0, c.row), c.button);
    EXPECT_TRUE(layer.Done());
    EXPECT_EQ(layer.Result(), c.result);
  }
}

TEST_F(PopupMenuLayerTest, OpensAtThePointerAndASubmenuBesideItsItemWhoseGreyedItemsAreInert) {
  const ImGuiWindow* root = ImGuiHarness::DrawnWindow("##qvmenu0_0");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Pos.x, 100);
  EXPECT_EQ(root->Pos.y, 100);
  EXPECT_EQ(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  harness_.MoveTo(Row(0, 1));
  harness_.Frames(2);
  root = ImGuiHarness::DrawnWindow("##qvmenu0_0");
  const ImGuiWindow* sub = ImGuiHarness::DrawnWindow("##qvmenu0_1");
  ASSERT_NE(sub, nullptr);
  EXPECT_FLOAT_EQ(sub->Pos.x, root->Pos.x + root->Size.x);
  // Its first row is level with the item that opened it.
  EXPECT_NEAR(Row(1, 0).y, Row(0, 1).y, 1.0f);
  harness_.Click(Row(1, 1));
  EXPECT_FALSE(layer_.Done());
  harness_.Click(Row(1, 0));
  EXPECT_TRUE(layer_.Done());
  EXPECT_EQ(layer_.Result(), 10u);
}

TEST_F(PopupMenuLayerTest, HoveringACommandOrEscapeClosesTheSubmenuAndASecondEscapeTheMenu) {
  harness_.MoveTo(Row(0, 1));
  harness_.Frames(2);
  ASSERT_NE(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  harness_.MoveTo(Row(0, 2));
  harness_.Frames(1);
  EXPECT_EQ(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  harness_.MoveTo(Row(0, 1));
  harness_.Frames(2);
  harness_.MoveTo(Row(1, 0));
  harness_.Key(testing::kEscapeKey);
  EXPECT_FALSE(layer_.Done());
  EXPECT_EQ(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  harness_.Key(testing::kEscapeKey);
  EXPECT_TRUE(layer_.Done());
  EXPECT_EQ(layer_.Result(), 0u);
}

TEST_F(PopupMenuLayerTest, OpenedWithoutThePointerTheKeysWalkItFromItsFirstItem) {
  using namespace testing;
  PopupMenuLayer layer(menu_, ImVec2(100, 100), true);
  harness_.SetLayers({&layer});
  harness_.Frames(3);
  // Settings, into its sub-menu (Fast), down to the greyed Slow, which Enter cannot choose; back
  // out to Settings, and on past Quit round to Auto.
  for (HarnessKey key : {kDownKey, kRightKey, kDownKey, kEnterKey}) harness_.Key(key);
  ASSERT_NE(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  EXPECT_FALSE(layer.Done());
  for (HarnessKey key : {kLeftKey, kDownKey, kDownKey}) harness_.Key(key);
  EXPECT_EQ(ImGuiHarness::DrawnWindow("##qvmenu0_1"), nullptr);
  harness_.Key(kEnterKey);
  EXPECT_TRUE(layer.Done());
  EXPECT_EQ(layer.Result(), 1u);
}

TEST_F(PopupMenuLayerTest, UnderAnotherLayerItIgnoresInput) {
  PopupMenuLayer other(menu_, ImVec2(500, 300));
  harness_.SetLayers({&layer_, &other});
  harness_.Frames(2);
  harness_.Click(Row(0, 2));  // on the lower menu's item, away from the upper menu
  EXPECT_FALSE(layer_.Done());
  EXPECT_TRUE(other.Done());  // the click was outside the upper menu: it is dismissed
  EXPECT_EQ(other.Result(), 0u);
}

TEST(PopupMenuPlacementTest, FlipsToTheOtherSideWhenItWouldLeaveTheDisplay) {
  EXPECT_EQ(PlaceMenuAlongAxis(100, 200, 800, 100), 100);  // fits: stays
  // A menu opened near the right edge ends at the pointer instead of starting there.
  EXPECT_EQ(PlaceMenuAlongAxis(700, 200, 800, 700), 500);
  // A sub-menu that does not fit right of its parent goes to its left.
  EXPECT_EQ(PlaceMenuAlongAxis(650, 200, 800, 450), 250);
  // Fitting neither way: against the far edge, but never starting off the display.
  EXPECT_EQ(PlaceMenuAlongAxis(700, 200, 800, 100), 600);
  EXPECT_EQ(PlaceMenuAlongAxis(10, 900, 800, 10), 0);
}

}  // namespace
}  // namespace qv::platform::sdl
