#include "dispatch/helpers.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "workbench.h"

namespace tezlo::testing {
namespace {

TEST(GoToCellTest, ClampsToA1AndWritesTheValuesBack) {
  Workbench wb;
  wb.Select("K300");
  wb.host.SetScrollRow(280);
  wb.host.SetScrollColumn(5);
  int32_t row = 0;
  int32_t col = -3;
  GoToCell(wb.ctx, row, col);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(wb.host.ActiveCell(), At("A1"));
  EXPECT_EQ(wb.host.TopLeftVisibleCell(), At("A1"));
}

TEST(GoToCellTest, PutsTheCellAtTheTopLeftAndActivatesIt) {
  Workbench wb;
  int32_t row = 500;
  int32_t col = 30;
  GoToCell(wb.ctx, row, col);
  EXPECT_EQ(wb.host.TopLeftVisibleCell(), (Cell{500, 30}));
  EXPECT_EQ(wb.host.ActiveCell(), (Cell{500, 30}));
  EXPECT_EQ(wb.host.GetSelection().areas, (std::vector<Area>{Area::Of(Cell{500, 30})}));
  EXPECT_EQ(row, 500);
}

TEST(GoToCellTest, RowBeyondTheSheetGoesToTheCaller) {
  Workbench wb;
  EXPECT_THROW(GoToCell(wb.ctx, Cell{1048577, 1}), HostError);
  EXPECT_EQ(wb.host.ActiveCell(), At("A1"));
}

TEST(EndRowTest, ProbesTheActiveSheet) {
  Workbench wb;
  wb.UseWorkingSheets("+2");
  wb.PutText("C10", "a");
  wb.PutText("C20", "b");
  wb.PutText("C21", "c");
  EXPECT_EQ(EndUpRow(wb.ctx, 15, 3), 10);
  EXPECT_EQ(EndUpRow(wb.ctx, 10, 3), 1);
  EXPECT_EQ(EndDownRow(wb.ctx, 10, 3), 20);
  EXPECT_EQ(EndDownRow(wb.ctx, 20, 3), 21);
  EXPECT_EQ(EndDownRow(wb.ctx, 21, 3), 1048576);
  wb.host.ActivateSheet(wb.Sheet("+1"));
  EXPECT_EQ(EndDownRow(wb.ctx, 10, 3), 1048576);
  EXPECT_THROW(EndUpRow(wb.ctx, 0, 3), HostError);
}

TEST(ShowTipTest, InformationNoticeTitledTip) {
  Workbench wb;
  ShowTip(wb.ctx, "完成");
  MessageBoxRequest expected;
  expected.text = "完成";
  expected.title = "Tip";
  expected.buttons = Buttons::Ok;
  expected.icon = Icon::Information;
  ASSERT_EQ(wb.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(wb.ui.MessageBoxes()[0], expected);
}

TEST(SetCellNoteTest, ReplacesAnExistingComment) {
  Workbench wb;
  const SheetRef sheet = wb.host.ActiveSheet();
  wb.host.AddComment(sheet, At("B60"), "old");
  SetCellNote(wb.ctx, 60, 2, "new\r\nline");
  EXPECT_EQ(wb.host.CommentText(sheet, At("B60")), "new\r\nline");
  SetCellNote(wb.ctx, 61, 2, "fresh");
  EXPECT_EQ(wb.host.CommentText(sheet, At("B61")), "fresh");
}

TEST(SetCellNoteTest, CellOutsideTheSheetIsSkippedSilently) {
  Workbench wb;
  EXPECT_NO_THROW(SetCellNote(wb.ctx, 0, 2, "lost"));
  EXPECT_NO_THROW(SetCellNote(wb.ctx, 1, 16385, "lost"));
  EXPECT_TRUE(wb.ui.Dialogs().empty());
}

}  // namespace
}  // namespace tezlo::testing
