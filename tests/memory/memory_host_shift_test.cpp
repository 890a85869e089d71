#include <gtest/gtest.h>

#include <vector>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};

// A 3-column band B..D with values r*10+c in rows 1..10, and column A and E as neighbours.
class MemoryHostShiftTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int r = 1; r <= 10; ++r) {
      for (int c = 1; c <= 5; ++c) h.SetValue(kS, Cell{r, c}, Value::Number(r * 10 + c));
    }
  }
  Value At(int r, int c) { return h.GetValue(kS, Cell{r, c}); }
  MemoryHost h;
};

TEST_F(MemoryHostShiftTest, InsertMovesOnlyTheAreasColumnsWithEverythingInTheCell) {
  h.SetFormula(kS, Cell{5, 2}, "=B4", Value::Number(42));
  h.SetValue(kS, Cell{4, 2}, Value::Number(-1));
  h.SetColorIndex(kS, Area::Of(Cell{6, 3}), 6);
  h.AddComment(kS, Cell{7, 4}, "moved");
  h.InsertShiftDown(kS, Area::Of(4, 2, 6, 4));
  EXPECT_EQ(At(3, 2), Value::Number(32));
  EXPECT_EQ(At(4, 2), Value());
  EXPECT_EQ(At(6, 4), Value());
  EXPECT_EQ(At(7, 2), Value::Number(-1));
  EXPECT_EQ(At(8, 2), Value::Number(42));
  EXPECT_EQ(h.GetFormula(kS, Cell{8, 2}), "=B7");  // its reference moved with B4
  EXPECT_EQ(h.ColorIndex(kS, Cell{9, 3}), 6);
  EXPECT_EQ(h.ColorIndex(kS, Cell{6, 3}), 0);
  EXPECT_EQ(h.CommentText(kS, Cell{10, 4}), "moved");
  EXPECT_EQ(At(13, 4), Value::Number(104));
  // Neighbouring columns stay.
  EXPECT_EQ(At(4, 1), Value::Number(41));
  EXPECT_EQ(At(4, 5), Value::Number(45));
  EXPECT_EQ(At(11, 1), Value());
}

TEST_F(MemoryHostShiftTest, DeleteMovesTheCellsBelowUp) {
  h.AddComment(kS, Cell{8, 3}, "c");
  h.DeleteShiftUp(kS, Area::Of(4, 2, 6, 4));
  EXPECT_EQ(At(3, 3), Value::Number(33));
  EXPECT_EQ(At(4, 3), Value::Number(73));
  EXPECT_EQ(h.CommentText(kS, Cell{5, 3}), "c");
  EXPECT_EQ(At(7, 4), Value::Number(104));
  EXPECT_EQ(At(8, 4), Value());
  EXPECT_EQ(At(10, 1), Value::Number(101));
  EXPECT_EQ(At(4, 5), Value::Number(45));
}

TEST_F(MemoryHostShiftTest, InsertThenDeleteRestoresTheSheet) {
  h.InsertShiftDown(kS, Area::Of(1, 1, 3, 5));
  h.DeleteShiftUp(kS, Area::Of(1, 1, 3, 5));
  for (int r = 1; r <= 10; ++r) {
    for (int c = 1; c <= 5; ++c) ASSERT_EQ(At(r, c), Value::Number(r * 10 + c));
  }
}

TEST_F(MemoryHostShiftTest, InsertRefusedWhenAFilledCellWouldLeaveTheSheet) {
  h.SetValue(kS, Cell{1048575, 3}, Value::Text("bottom"));
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(1, 2, 2, 4)), HostError);
  EXPECT_EQ(At(1, 2), Value::Number(12));  // nothing moved, also in other columns
  EXPECT_EQ(At(1048575, 3), Value::Text("bottom"));
  h.InsertShiftDown(kS, Area::Of(1, 2, 1, 4));  // one row still fits
  EXPECT_EQ(At(1048576, 3), Value::Text("bottom"));
  // A format alone also blocks.
  h.SetColorIndex(kS, Area::Of(Cell{1048576, 6}), 3);
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(Cell{1, 6})), HostError);
  // Outside the area's columns it does not.
  h.InsertShiftDown(kS, Area::Of(Cell{1, 7}));
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(0, 1, 1, 1)), HostError);
}

TEST_F(MemoryHostShiftTest, MergedAreasMoveWholeWithTheirCellsOrTheShiftIsRefused) {
  Sheet& sheet = h.GetSheet(kS);
  sheet.AddMergedArea(Area::Of(8, 2, 9, 3));    // inside the band's columns, below the shift
  sheet.AddMergedArea(Area::Of(1, 2, 2, 4));    // above the shift: stays
  sheet.AddMergedArea(Area::Of(20, 6, 21, 7));  // beside the band: stays
  h.InsertShiftDown(kS, Area::Of(4, 2, 6, 4));
  EXPECT_EQ(sheet.MergedAreas(), (std::vector<Area>{Area::Of(11, 2, 12, 3), Area::Of(1, 2, 2, 4),
                                                    Area::Of(20, 6, 21, 7)}));
  h.DeleteShiftUp(kS, Area::Of(4, 2, 6, 4));
  EXPECT_EQ(sheet.MergedAreas().front(), Area::Of(8, 2, 9, 3));

  // Deleting the cells a merged area stands in takes it away.
  h.DeleteShiftUp(kS, Area::Of(8, 2, 9, 4));
  EXPECT_EQ(sheet.MergedAreas().size(), 2u);
}

TEST_F(MemoryHostShiftTest, AShiftThatWouldSplitAMergedAreaIsRefusedAndChangesNothing) {
  Sheet& sheet = h.GetSheet(kS);
  sheet.AddMergedArea(Area::Of(5, 4, 6, 5));  // D5:E6 straddles the band's last column
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(4, 2, 4, 4)), HostError);
  EXPECT_THROW(h.DeleteShiftUp(kS, Area::Of(2, 2, 3, 4)), HostError);
  sheet.SetMergedAreas({Area::Of(5, 2, 7, 3)});  // B5:C7: an insertion at row 6 cuts through it
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(6, 2, 6, 4)), HostError);
  EXPECT_THROW(h.DeleteShiftUp(kS, Area::Of(6, 2, 9, 4)), HostError);
  EXPECT_EQ(At(5, 2), Value::Number(52));
  EXPECT_EQ(At(6, 3), Value::Number(63));
  EXPECT_EQ(At(9, 4), Value::Number(94));
  EXPECT_EQ(sheet.MergedAreas(), std::vector<Area>{Area::Of(5, 2, 7, 3)});
}

TEST_F(MemoryHostShiftTest, DeleteRowsMovesHeightsAndCells) {
  h.SetRowHeight(kS, 8, 8, 30);
  h.SetRowHeight(kS, 3, 3, 0);
  h.DeleteRows(kS, 3, 5);
  EXPECT_EQ(At(3, 1), Value::Number(61));
  EXPECT_EQ(At(3, 5), Value::Number(65));
  EXPECT_EQ(h.RowHeight(kS, 5), 30);
  EXPECT_EQ(h.RowHeight(kS, 3), 13.5);
  EXPECT_EQ(h.RowHeight(kS, 8), 13.5);
  EXPECT_THROW(h.DeleteRows(kS, 5, 1048577), HostError);
  EXPECT_THROW(h.DeleteRows(kS, 6, 5), HostError);
}

TEST_F(MemoryHostShiftTest, DeleteColumnsMovesWidthsFormatsAndCells) {
  h.SetColumnWidth(kS, 5, 5, 20);
  h.SetColumnColorIndex(kS, 5, 5, 43);
  h.SetColumnColorIndex(kS, 2, 2, 10);
  h.DeleteColumns(kS, 2, 3);
  EXPECT_EQ(At(1, 1), Value::Number(11));
  EXPECT_EQ(At(1, 2), Value::Number(14));
  EXPECT_EQ(At(1, 3), Value::Number(15));
  EXPECT_EQ(At(1, 4), Value());
  EXPECT_EQ(h.ColumnWidth(kS, 3), 20);
  EXPECT_EQ(h.ColorIndex(kS, Cell{500, 3}), 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{500, 2}), 0);
  EXPECT_EQ(h.ColumnWidth(kS, 5), 8.43);
}

}  // namespace
}  // namespace tezlo
