// The Excel adapter against the double of Excel: values and blocks in one transfer, refusals as
// HostError, and whole commands giving the same workbook as the memory engine itself.
#include <gtest/gtest.h>

#include "app/all_tools.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "excel/excel_host.h"
#include "excel/excel_ui.h"
#include "fake_excel.h"
#include "host/host_error.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo {
namespace {

class ExcelHostTest : public ::testing::Test {
 protected:
  ExcelHostTest() : app_(new fake::FakeApplication(memory_, nullptr)) {
    excel_.SetApplication(app_);
  }
  ~ExcelHostTest() override {
    excel_.SetApplication(nullptr);
    app_->Release();
  }

  MemoryHost memory_;
  fake::FakeApplication* app_;
  ExcelHost excel_;
};

TEST_F(ExcelHostTest, ValuesOfEveryKindGoThereAndBack) {
  const SheetRef s{1, 1};
  const Value values[] = {Value(),
                          Value::Number(-2.5),
                          Value::Text("主题 abc"),
                          Value::Boolean(true),
                          Value::Date(45000),
                          Value::Error(ErrorCode::NA)};
  int32_t row = 1;
  for (const Value& v : values) {
    excel_.SetValue(s, {row, 2}, v);
    EXPECT_EQ(memory_.GetValue(s, {row, 2}), v) << row;
    EXPECT_EQ(excel_.GetValue(s, {row, 2}), v) << row;
    ++row;
  }
  excel_.SetValue(s, {1, 1}, Value::Text("00123"));  // typed text becomes a number
  EXPECT_EQ(memory_.GetValue(s, {1, 1}), Value::Number(123));
}

TEST_F(ExcelHostTest, BlocksTravelInOneArray) {
  const SheetRef s{1, 1};
  Matrix m(2, 3);
  m.At(0, 0) = Value::Number(1);
  m.At(0, 2) = Value::Text("x");
  m.At(1, 1) = Value::Boolean(false);
  excel_.SetValues(s, {4, 2}, m);
  EXPECT_EQ(memory_.GetValues(s, Area::Of(4, 2, 5, 4)), m);
  EXPECT_EQ(excel_.GetValues(s, Area::Of(4, 2, 5, 4)), m);
  const Matrix one = excel_.GetValues(s, Area::Of(4, 2, 4, 2));
  ASSERT_EQ(one.Rows(), 1);
  EXPECT_EQ(one.At(0, 0), Value::Number(1));
}

TEST_F(ExcelHostTest, RefusalsBecomeHostErrors) {
  const SheetRef s{1, 1};
  EXPECT_THROW(excel_.Match(s, Value::Text("nowhere"), Area::Of(1, 1, 10, 1)), HostError);
  EXPECT_THROW(excel_.CommentText(s, {1, 1}), HostError);
  EXPECT_THROW(excel_.SheetName({1, 99}), HostError);
  ExcelHost unconnected;
  EXPECT_THROW(unconnected.ActiveCell(), HostError);
}

TEST_F(ExcelHostTest, SheetsWorkbooksCursorAndWindow) {
  EXPECT_EQ(excel_.WorkbookCount(), 1);
  EXPECT_EQ(excel_.ActiveWorkbook(), 1);
  EXPECT_EQ(excel_.RowsCount(), memory_.RowsCount());
  const SheetRef added = excel_.AddSheetAfter({1, 1});
  EXPECT_EQ(added, (SheetRef{1, 2}));
  EXPECT_EQ(excel_.ActiveSheet(), added);
  excel_.RenameSheet(added, "+2");
  EXPECT_EQ(memory_.SheetName({1, 2}), "+2");
  excel_.ActivateSheet({1, 1});
  excel_.Select(Selection{{Area::Of(2, 2, 4, 3), Area::Of(7, 1, 7, 1)}, Cell{3, 3}});
  EXPECT_EQ(memory_.GetSelection(),
            (Selection{{Area::Of(2, 2, 4, 3), Area::Of(7, 1, 7, 1)}, Cell{3, 3}}));
  EXPECT_EQ(excel_.GetSelection(), memory_.GetSelection());
  excel_.SetScrollRow(40);
  EXPECT_EQ(excel_.TopLeftVisibleCell().row, 40);
  EXPECT_EQ(excel_.VisibleRows(), memory_.VisibleRows());
  excel_.BeginEditing();
  EXPECT_EQ(app_->SentKeys(), std::vector<std::string>{"{F2}"});
}

// The same command on the memory engine directly and through the adapter gives the same sheet.
void RunCode(Host& host, const std::string& code) {
  ScriptedUi ui;
  FixedSystem system;
  Context ctx(host, ui, system);
  ctx.tools = AllTools();
  ctx.funcCode = code;
  Dispatch(ctx);
}

// A workbook of the working sheets on a sheet of 65536 rows and 256 columns, a block of numbers in
// A51:Z60 and the cursor at C55.
MemorySettings SmallGrid() {
  MemorySettings settings;
  settings.rows = 65536;
  settings.cols = 256;
  return settings;
}

void Fill(MemoryHost& host) {
  host.RenameSheet({1, 1}, "+1");
  host.RenameSheet({1, 2}, "+2");
  host.RenameSheet({1, 3}, "+3");
  host.ActivateSheet({1, 1});
  for (int32_t r = 51; r <= 60; ++r)
    for (int32_t c = 1; c <= 26; ++c) host.SetValue({1, 1}, {r, c}, Value::Number(r * 100 + c));
  host.ActivateCell({55, 3});
}

TEST_F(ExcelHostTest, CommandsGiveTheSameWorkbookThroughTheAdapter) {
  for (const char* code :
       {"+3",  "-2",  "++",  "--",  "*9",  "999", "",    "*5", "*6", "*7", "*8", "*16",
        "*19", "*11", "*12", "*22", "*15", "*1",  "101", "/5", "*2", "*3", "*4"}) {
    MemoryHost direct(SmallGrid());
    MemoryHost behind(SmallGrid());
    Fill(direct);
    Fill(behind);
    auto* app = new fake::FakeApplication(behind, nullptr);
    ExcelHost excel;
    excel.SetApplication(app);
    RunCode(direct, code);
    RunCode(excel, code);
    excel.SetApplication(nullptr);
    app->Release();
    const Area watched = Area::Of(1, 1, 80, 30);
    EXPECT_EQ(behind.GetValues({1, 1}, watched), direct.GetValues({1, 1}, watched)) << code;
    EXPECT_EQ(behind.GetSelection(), direct.GetSelection()) << code;
    EXPECT_EQ(behind.SheetCount(1), direct.SheetCount(1)) << code;
    MemoryHost untouched(SmallGrid());
    Fill(untouched);
    if (std::string(code) == "+3" || std::string(code) == "++" || std::string(code) == "--") {
      EXPECT_NE(direct.GetValues({1, 1}, watched), untouched.GetValues({1, 1}, watched)) << code;
    }
  }
}

}  // namespace
}  // namespace tezlo
