#include "dispatch/grid_state.h"

#include <gtest/gtest.h>

#include "dispatch/prepare_workbook.h"
#include "host/host_error.h"
#include "workbench.h"

namespace tezlo::testing {
namespace {

// "+1" with topic words in A60 and A80, data in B61:F70 and in H75.
class GridStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wb.UseWorkingSheets();
    wb.PutText("A60", "apples");
    wb.PutText("A80", "pears");
    wb.Fill("B61:F70", "x");
    wb.PutText("H75", "y");
  }

  void ComputeAt(std::string_view a1) {
    wb.Select(a1);
    PrepareWorkbook(wb.ctx);
    ComputeGridState(wb.ctx);
  }

  RangeRef OnActive(std::string_view area) { return RangeRef{wb.host.ActiveSheet(), Range(area)}; }

  Workbench wb;
};

TEST_F(GridStateTest, TopicBlockAroundTheActiveCell) {
  ComputeAt("D66");
  const Context& c = wb.ctx;
  EXPECT_EQ(c.regionTop, 60);
  EXPECT_EQ(c.regionBottom, 75);
  EXPECT_EQ(c.curRegion, OnActive("A60:M75"));
  EXPECT_EQ(c.regionBody, OnActive("B60:M75"));
  EXPECT_EQ(c.curRow, 60);
  EXPECT_EQ(c.curCol, 1);
  EXPECT_EQ(c.regionRows, 16);
  EXPECT_EQ(c.regionCols, 13);
  EXPECT_EQ(c.regionLastRow, 75);
  EXPECT_EQ(c.regionLastCol, 13);
  EXPECT_EQ(c.sheetRows, 1048576);
  EXPECT_EQ(c.sheetCols, 16384);
}

TEST_F(GridStateTest, FilledFirstColumnStartsTheRegionAtTheActiveRow) {
  wb.PutText("A66", "note");
  ComputeAt("A66");
  EXPECT_EQ(wb.ctx.regionTop, 66);
  EXPECT_EQ(wb.ctx.curRegion, OnActive("A66:M75"));
}

TEST_F(GridStateTest, TopicIndexRowsAreNeverPartOfARegion) {
  ComputeAt("C10");
  EXPECT_EQ(wb.ctx.regionTop, 51);
  // Row 60 is the next topic word and nothing above it is used: the region is row 51 alone.
  EXPECT_EQ(wb.ctx.curRegion, OnActive("A51:M51"));
}

TEST_F(GridStateTest, SecondColumnBlockStartsAtTheTopRow) {
  ComputeAt("Q5");
  EXPECT_EQ(wb.ctx.curCol, 14);
  EXPECT_EQ(wb.ctx.regionTop, 1);
  // Nothing at all in N:Z: the region is the single top row.
  EXPECT_EQ(wb.ctx.curRegion, OnActive("N1:Z1"));
  EXPECT_EQ(wb.ctx.regionLastCol, 26);
}

TEST_F(GridStateTest, DataReachingTheRowAboveTheNextTopicEndsThere) {
  wb.Fill("C61:C79", "z");
  ComputeAt("D66");
  EXPECT_EQ(wb.ctx.regionBottom, 79);
}

TEST_F(GridStateTest, DataRunningIntoTheNextTopicStopsAboveIt) {
  // Second column block: topics in N60 and N80, one column of data from P61 past row 80.
  wb.PutText("N60", "figs");
  wb.PutText("N80", "plums");
  wb.Fill("P61:P85", "z");
  ComputeAt("P66");
  EXPECT_EQ(wb.ctx.regionBottom, 79);
  EXPECT_EQ(wb.ctx.curRegion, OnActive("N60:Z79"));
}

TEST_F(GridStateTest, RunThroughTheProbeRowCountsOnlyFromItsTop) {
  // C61:C85 runs through row 80, so End(xlUp) from C80 reaches C61: below the bottom that
  // columns B and H already gave, so the run changes nothing.
  wb.Fill("C61:C85", "z");
  ComputeAt("D66");
  EXPECT_EQ(wb.ctx.regionBottom, 75);
}

TEST_F(GridStateTest, LastTopicRunsToItsLowestUsedRow) {
  wb.Fill("E81:E90", "z");
  wb.PutText("M95", "end");
  wb.PutText("N200", "next block");  // the next column block does not count
  ComputeAt("B85");
  EXPECT_EQ(wb.ctx.curRegion, OnActive("A80:M95"));
}

TEST_F(GridStateTest, EmptyFirstColumnBlockGivesTheFirstDataRowAlone) {
  Workbench empty;
  empty.UseWorkingSheets();
  empty.Select("A1");
  PrepareWorkbook(empty.ctx);
  ComputeGridState(empty.ctx);
  EXPECT_EQ(empty.ctx.curRegion, (RangeRef{empty.host.ActiveSheet(), Range("A51:M51")}));
  EXPECT_EQ(empty.ctx.regionRows, 1);
}

TEST_F(GridStateTest, WideColumnBlocksStillGiveThirteenColumns) {
  wb.host.ActivateSheet(wb.Sheet("+2"));
  wb.PutText("AA60", "topic");  // column 27: the second 26-column block
  wb.PutText("AC62", "data");
  wb.PutText("AR70", "outside the region, inside the block");
  ComputeAt("AF61");
  EXPECT_EQ(wb.ctx.blockWidth, 26);
  EXPECT_EQ(wb.ctx.curCol, 27);
  EXPECT_EQ(wb.ctx.curRegion, OnActive("AA60:AM62"));
  EXPECT_EQ(wb.ctx.regionBody, OnActive("AB60:AM62"));
  EXPECT_EQ(wb.ctx.regionCols, 13);
  EXPECT_EQ(wb.ctx.regionLastCol, 39);
}

TEST_F(GridStateTest, StoppedCommandLeavesEveryVariableAlone) {
  ComputeAt("D66");
  wb.Select("Q5");
  wb.ctx.flowFlag = Flow::Stop;
  ComputeGridState(wb.ctx);
  EXPECT_EQ(wb.ctx.curRegion, OnActive("A60:M75"));
  EXPECT_EQ(wb.ctx.curRow, 60);
  EXPECT_EQ(wb.ctx.curCol, 1);
  EXPECT_EQ(wb.ctx.regionLastRow, 75);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::Stop);
}

TEST_F(GridStateTest, ErrorValueInATestedCellEndsItHalfway) {
  ComputeAt("D66");
  wb.Put("A66", Value::Error(ErrorCode::NA));
  wb.Select("C66");
  EXPECT_THROW(ComputeGridState(wb.ctx), HostError);
  EXPECT_EQ(wb.ctx.curRow, 66);  // set before the failing test
  EXPECT_EQ(wb.ctx.curCol, 1);
  EXPECT_EQ(wb.ctx.regionTop, 60);  // left from the run before
  EXPECT_EQ(wb.ctx.curRegion, OnActive("A60:M75"));
}

TEST_F(GridStateTest, ErrorValueAboveTheProbeRowFailsTheBottomSearch) {
  wb.Put("D79", Value::Error(ErrorCode::Div0));
  wb.Select("D66");
  PrepareWorkbook(wb.ctx);
  EXPECT_THROW(ComputeGridState(wb.ctx), HostError);
  EXPECT_EQ(wb.ctx.regionTop, 60);
}

TEST_F(GridStateTest, ZeroBlockWidthFails) {
  ComputeAt("D66");
  wb.ctx.blockWidth = 0;
  EXPECT_THROW(ComputeGridState(wb.ctx), HostError);
}

TEST_F(GridStateTest, LastColumnBlockTooNarrowForTheRegionFails) {
  wb.Select("XFD10");  // column 16384: its block starts at 16381, 13 columns would pass the edge
  PrepareWorkbook(wb.ctx);
  EXPECT_THROW(ComputeGridState(wb.ctx), HostError);
  EXPECT_EQ(wb.ctx.curCol, 16381);
}

}  // namespace
}  // namespace tezlo::testing
