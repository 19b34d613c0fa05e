// The choice commands' item lines: fields, limits and the errors a game maker gets.
#include "script/ChoiceItems.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

using script::ParsedItem;

TEST(ChoiceItems, FieldsOfEachKind) {
  ParsedItem p;
  // Area items: the rectangle is stored left, right, top, bottom; selarea leaves the table's
  // condition byte alone.
  ASSERT_TRUE(script::ParseAreaItem("ignored text(10,20,300,40,start,7)", p));
  EXPECT_EQ(std::vector<int>({p.item.left, p.item.right, p.item.top, p.item.bottom}),
            std::vector<int>({10, 300, 20, 40}));
  EXPECT_EQ(p.item.Label(), "start");
  EXPECT_EQ(p.condition, 7);
  EXPECT_EQ(p.item.condition, 0);
  ASSERT_TRUE(script::ParseAreaItem("( -5,+3,9x,0,a,0)", p));  // the number rule, 1-4 characters
  EXPECT_EQ(p.item.left, -5);
  EXPECT_EQ(p.item.right, 9);

  ASSERT_TRUE(script::ParseFlagItem("(1,2,3,4,cg1,12)", p));
  EXPECT_EQ(p.condition, 12);
  EXPECT_EQ(p.item.condition, 12);

  ASSERT_TRUE(script::ParseWordItem("(go_left,3,左へ行く)", p));
  EXPECT_EQ(p.item.Label(), "go_left");
  EXPECT_EQ(p.item.condition, 3);
  EXPECT_EQ(p.text, "左へ行く");
  std::string longText;  // cut at a character boundary
  for (int i = 0; i < 30; ++i) longText += "\x82\xa0";
  ASSERT_TRUE(script::ParseWordItem("(a,0," + longText + ")", p));
  EXPECT_EQ(p.text.size(), 50u);

  std::string paths[3];
  ASSERT_TRUE(
      script::ParseFlagPictures("$flagselect (cg\\a.bmp,cg\\b.bmp,cg\\c.bmp) CGMODE", paths));
  EXPECT_EQ(paths[0], "cg\\a.bmp");
  EXPECT_EQ(paths[2], "cg\\c.bmp");
  EXPECT_FALSE(script::ParseFlagPictures("$flagselect cg\\a.bmp", paths));
  EXPECT_FALSE(script::ParseFlagPictures("$flagselect (a,b", paths));
}

TEST(ChoiceItems, MalformedItemsAreErrors) {
  ParsedItem p;
  for (const char* line :
       {"10,20,30,40,a,0)", "(,20,30,40,a,0)", "(12345,20,30,40,a,0)", "(10,20,30,40,a,)",
        "(10,20,30,40,a,0", "(10,20,30", ":label", "; comment"}) {
    EXPECT_FALSE(script::ParseAreaItem(line, p)) << line;
  }
  // A label must fit its 64-byte field with the terminating zero.
  EXPECT_TRUE(script::ParseAreaItem("(1,2,3,4," + std::string(63, 'x') + ",0)", p));
  EXPECT_FALSE(script::ParseAreaItem("(1,2,3,4," + std::string(64, 'x') + ",0)", p));
  // A flag item's condition runs to the line end, taking the parenthesis.
  EXPECT_TRUE(script::ParseFlagItem("(1,2,3,4,cg1,5", p));
  EXPECT_TRUE(script::ParseFlagItem("(1,2,3,4,cg1,123)", p));
  EXPECT_FALSE(script::ParseFlagItem("(1,2,3,4,cg1,1234)", p));  // "1234)" is five characters
  EXPECT_FALSE(script::ParseWordItem("(a,0,no end", p));
  EXPECT_FALSE(script::ParseWordItem("(a,,text)", p));
}

}  // namespace
}  // namespace qv::test
