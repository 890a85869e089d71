#include "dispatch/prepare_workbook.h"

#include <gtest/gtest.h>

#include "workbench.h"

namespace tezlo::testing {
namespace {

struct SettingCase {
  Value j1;
  int16_t firstDataRow;
};

class FirstDataRowTest : public ::testing::TestWithParam<SettingCase> {};

TEST_P(FirstDataRowTest, ReadsTheIndexHeightFromJ1) {
  Workbench wb;
  wb.UseWorkingSheets();
  wb.Put("J1", GetParam().j1);
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.firstDataRow, GetParam().firstDataRow);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, FirstDataRowTest,
    ::testing::Values(SettingCase{Value(), 51}, SettingCase{Value::Text("abc"), 51},
                      SettingCase{Value::Number(0), 51}, SettingCase{Value::Number(49), 51},
                      SettingCase{Value::Number(50), 51}, SettingCase{Value::Number(99), 51},
                      SettingCase{Value::Number(100), 101}, SettingCase{Value::Number(149.9), 101},
                      SettingCase{Value::Number(150), 151}, SettingCase{Value::Number(199), 151},
                      SettingCase{Value::Number(200), 201}, SettingCase{Value::Number(249), 201},
                      SettingCase{Value::Number(250), 251}, SettingCase{Value::Number(299), 251},
                      SettingCase{Value::Number(300), 51}, SettingCase{Value::Number(-20), 51},
                      // Too big for the 16-bit computation: the step fails, the default stays.
                      SettingCase{Value::Number(1e6), 51}, SettingCase{Value::Number(32800), 51},
                      // Read like a function code: the leading number of the text.
                      SettingCase{Value::Text("120abc"), 101},
                      SettingCase{Value::Text("2 0 0"), 201}, SettingCase{Value::Boolean(true), 51},
                      SettingCase{Value::Error(ErrorCode::NA), 51}));

TEST(PrepareWorkbookTest, NewWorkbookGetsPlusTwoThenPlusOneAfterSheet1) {
  Workbench wb;
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.SheetNames(), (std::vector<std::string>{"Sheet1", "+2", "+1", "Sheet2", "Sheet3"}));
  EXPECT_EQ(wb.host.SheetName(wb.host.ActiveSheet()), "+1");
  EXPECT_TRUE(wb.ui.Dialogs().empty());
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
  EXPECT_EQ(wb.ctx.blockWidth, 13);
  EXPECT_EQ(wb.ctx.sheetName, "+1");
  EXPECT_EQ(wb.ctx.sheetIndex, 3);
  EXPECT_EQ(wb.ctx.activeWs, wb.Sheet("+1"));
}

TEST(PrepareWorkbookTest, OtherSheetIsRefusedWithTheExactNoticeAndPlusOneAtA1) {
  Workbench wb;
  wb.UseWorkingSheets();
  const int32_t book = wb.host.ActiveWorkbook();
  wb.host.RenameSheet({book, 3}, "Sheet1");
  wb.host.ActivateSheet({book, 3});
  wb.Select("E40");
  wb.host.SetScrollRow(30);

  PrepareWorkbook(wb.ctx);

  EXPECT_EQ(wb.SheetNames(), (std::vector<std::string>{"+1", "+2", "Sheet1"}));
  MessageBoxRequest expected;
  expected.text = "活动工作表是Sheet1不是“+1”或“+2”或“+3”表，这样可能出错。现选“+1”表并退出。";
  expected.title = "";
  expected.buttons = Buttons::Ok;
  expected.icon = Icon::None;
  ASSERT_EQ(wb.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(wb.ui.MessageBoxes()[0], expected);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::Stop);
  EXPECT_EQ(wb.host.ActiveSheet(), wb.Sheet("+1"));
  EXPECT_EQ(wb.host.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(wb.host.TopLeftVisibleCell(), (Cell{1, 1}));
  EXPECT_EQ(wb.ctx.sheetName, "Sheet1");
}

TEST(PrepareWorkbookTest, PlusThreeRunsWithThirtyNineColumns) {
  Workbench wb;
  wb.UseWorkingSheets("+3");
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.blockWidth, 39);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
  EXPECT_EQ(wb.ctx.sheetName, "+3");
  EXPECT_TRUE(wb.ui.Dialogs().empty());
}

TEST(PrepareWorkbookTest, PlusThreeIsNeverCreated) {
  Workbench wb;
  const int32_t book = wb.host.ActiveWorkbook();
  wb.host.RenameSheet({book, 1}, "+1");
  wb.host.RenameSheet({book, 2}, "+2");
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.SheetNames(), (std::vector<std::string>{"+1", "+2", "Sheet3"}));
}

TEST(PrepareWorkbookTest, MissingWorkingSheetsGoAfterTheActiveSheet) {
  Workbench wb;
  const int32_t book = wb.host.ActiveWorkbook();
  wb.host.RenameSheet({book, 2}, "+3");
  wb.host.ActivateSheet({book, 2});
  PrepareWorkbook(wb.ctx);
  // The last sheet added, "+1", is active afterwards, so the command runs there.
  EXPECT_EQ(wb.SheetNames(), (std::vector<std::string>{"Sheet1", "+3", "+2", "+1", "Sheet3"}));
  EXPECT_EQ(wb.ctx.sheetName, "+1");
  EXPECT_EQ(wb.ctx.blockWidth, 13);
}

TEST(PrepareWorkbookTest, SmallGridGivesTheLastIncompleteColumnBlock) {
  MemorySettings small;
  small.rows = 65536;
  small.cols = 256;
  Workbench wb(small);
  wb.UseWorkingSheets("+2");
  wb.Put("J1", Value::Number(120));
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.firstDataRow, 101);
  EXPECT_EQ(wb.ctx.blockWidth, 26);
  EXPECT_EQ(wb.ctx.lastBlockCol, 235);
  EXPECT_EQ(wb.ctx.sheetRows, 65536);
  EXPECT_EQ(wb.ctx.sheetCols, 256);

  wb.host.ActivateSheet(wb.Sheet("+1"));
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.blockWidth, 13);
  EXPECT_EQ(wb.ctx.lastBlockCol, 248);
  EXPECT_EQ(wb.ctx.firstDataRow, 51);  // this sheet's J1 is empty
}

TEST(PrepareWorkbookTest, FullGridGivesTheSameLastBlockOnAllWorkingSheets) {
  Workbench wb;
  wb.UseWorkingSheets();
  for (const char* name : {"+1", "+2", "+3"}) {
    wb.host.ActivateSheet(wb.Sheet(name));
    PrepareWorkbook(wb.ctx);
    EXPECT_EQ(wb.ctx.lastBlockCol, 16381) << name;
  }
}

TEST(PrepareWorkbookTest, RecordsSelectionPositionAndDimensions) {
  Workbench wb;
  wb.UseWorkingSheets("+2");
  wb.host.Select(Selection{{Range("C5:D9"), Range("F2:F3")}, At("D7")});
  wb.host.SetScreenUpdating(false);
  PrepareWorkbook(wb.ctx);
  EXPECT_TRUE(wb.host.ScreenUpdating());
  ASSERT_TRUE(wb.ctx.curRegion.has_value());
  EXPECT_EQ(wb.ctx.curRegion->area, Range("C5:D9"));
  EXPECT_EQ(wb.ctx.curRegion->sheet, wb.Sheet("+2"));
  EXPECT_EQ(wb.ctx.curRow, 7);
  EXPECT_EQ(wb.ctx.sheetIndex, 2);
  EXPECT_EQ(wb.ctx.sheetRows, 1048576);
  EXPECT_EQ(wb.ctx.sheetCols, 16384);
}

TEST(PrepareWorkbookTest, DigitAboveFiveIsCappedButTheSheetIsStillRefused) {
  Workbench wb;
  wb.UseWorkingSheets();
  wb.host.RenameSheet(wb.Sheet("+3"), "+9");
  wb.host.ActivateSheet(wb.Sheet("+9"));
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.blockWidth, 65);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::Stop);
  EXPECT_EQ(wb.host.ActiveSheet(), wb.Sheet("+1"));
}

TEST(PrepareWorkbookTest, ZeroWidthSkipsTheLastBlockStepAndIsRefused) {
  Workbench wb;
  wb.UseWorkingSheets();
  wb.host.RenameSheet(wb.Sheet("+3"), "+0");
  wb.host.ActivateSheet(wb.Sheet("+0"));
  wb.ctx.lastBlockCol = 777;
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.blockWidth, 0);
  EXPECT_EQ(wb.ctx.lastBlockCol, 777);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::Stop);
}

TEST(PrepareWorkbookTest, LeavesOnlyZeroOrOneInFlowFlag) {
  Workbench wb;
  wb.UseWorkingSheets("+3");
  wb.ctx.flowFlag = Flow::Stop;  // left by an earlier refusal
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
}

TEST(PrepareWorkbookTest, ExistingWorkingSheetsAreFoundByExactName) {
  Workbench wb;
  const int32_t book = wb.host.ActiveWorkbook();
  wb.host.RenameSheet({book, 2}, "＋1");  // a full-width plus: not a working sheet
  PrepareWorkbook(wb.ctx);
  EXPECT_EQ(wb.SheetNames(), (std::vector<std::string>{"Sheet1", "+2", "+1", "＋1", "Sheet3"}));
}

}  // namespace
}  // namespace tezlo::testing
