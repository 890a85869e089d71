// The code 999: trimming the active sheet to its data and going to its last topic word.
#include "topics/topic_tools.h"
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

using SlimSheetTest = TopicsTest;

TEST_F(SlimSheetTest, TrimsToTheDataAndGoesToTheLastTopicWord) {
  Put({60, 1}, "甲");
  Put({62, 3}, "a");
  Put({80, 1}, "乙");
  Put({95, 5}, "b");
  host.SetColorIndex(plus1, Area::Of(Cell{2000, 40}), 6);
  host.SetRowHeight(plus1, 500, 500, 30);
  ASSERT_EQ(host.UsedRange(plus1), Area::Of(60, 1, 2000, 40));

  Run("999");
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(60, 1, 95, 5));
  EXPECT_EQ(ctx.usedLastRow, 95);
  EXPECT_EQ(ctx.usedLastCol, 5);
  EXPECT_EQ(host.ActiveCell(), (Cell{80, 1}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{80, 1}));
  EXPECT_EQ(ctx.regionLastRow, 95);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{2000, 40}), 0);
  EXPECT_NE(host.RowHeight(plus1, 500), 30);
  EXPECT_EQ(TextAt({62, 3}), "a");
  EXPECT_EQ(TextAt({95, 5}), "b");
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(SlimSheetTest, AnEmptySheetGoesToTheFirstDataRow) {
  Run("999");
  EXPECT_EQ(ctx.usedLastRow, 1);
  EXPECT_EQ(ctx.usedLastCol, 1);
  EXPECT_EQ(host.ActiveCell(), (Cell{51, 1}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{51, 1}));
}

TEST_F(SlimSheetTest, TheLastUsedColumnChoosesTheColumnBlock) {
  Put({60, 1}, "甲");
  Put({10, 27}, "丙");
  Put({40, 27}, "丁");
  Put({45, 30}, "x");
  Run("999");
  EXPECT_EQ(ctx.curCol, 27);
  EXPECT_EQ(host.ActiveCell(), (Cell{40, 27}));
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(10, 1, 60, 30));
}

TEST_F(SlimSheetTest, OtherCallersDoNotScrollTheView) {
  Put({60, 1}, "甲");
  Put({80, 1}, "乙");
  Run("");  // A1 at the top left, prepared context
  ctx.funcCode = "*1";
  SlimSheetToEnd(ctx);
  EXPECT_EQ(host.ActiveCell(), (Cell{80, 1}));
  // Activating a cell off screen only brings it into view; it is not made the top-left cell.
  EXPECT_NE(host.TopLeftVisibleCell(), (Cell{80, 1}));
}

// Data in the sheet's bottom row or last column stops the trimming before anything in that
// direction is deleted; alerts and screen updating come back on.
TEST_F(SlimSheetTest, DataInTheBottomRowIsKept) {
  Put({60, 1}, "甲");
  Put({1048576, 1}, "底");
  host.ActivateCell(Cell{7, 7});
  Run("999");
  EXPECT_EQ(TextAt({1048576, 1}), "底");
  EXPECT_EQ(TextAt({60, 1}), "甲");
  EXPECT_EQ(host.ActiveCell(), (Cell{7, 7}));
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(SlimSheetTest, DataInTheLastColumnIsKeptAndTheRowsAreStillTrimmed) {
  Put({60, 1}, "甲");
  Put({5, 16384}, "右");
  Put({5, 16383}, "右二");
  host.SetColorIndex(plus1, Area::Of(Cell{900, 2}), 6);
  Run("999");
  EXPECT_EQ(TextAt({5, 16384}), "右");
  EXPECT_EQ(TextAt({5, 16383}), "右二");
  EXPECT_EQ(host.ColorIndex(plus1, Cell{900, 2}), 0);
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

}  // namespace
}  // namespace tezlo::testing
