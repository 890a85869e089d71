#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

std::vector<std::string> SheetNames(MemoryHost& h, int32_t book) {
  std::vector<std::string> names;
  for (int32_t i = 1; i <= h.SheetCount(book); ++i) names.push_back(h.SheetName({book, i}));
  return names;
}

TEST(MemoryHostSheetsTest, StartsWithBook1OfThreeSheets) {
  MemoryHost h;
  EXPECT_EQ(h.WorkbookCount(), 1);
  EXPECT_EQ(h.ActiveWorkbook(), 1);
  EXPECT_EQ(h.WorkbookName(1), "Book1");
  EXPECT_EQ(SheetNames(h, 1), (std::vector<std::string>{"Sheet1", "Sheet2", "Sheet3"}));
  EXPECT_EQ(h.ActiveSheet(), (SheetRef{1, 1}));
  EXPECT_EQ(h.RowsCount(), 1048576);
  EXPECT_EQ(h.ColumnsCount(), 16384);
  EXPECT_TRUE(h.ScreenUpdating());
  EXPECT_TRUE(h.DisplayAlerts());
}

TEST(MemoryHostSheetsTest, SettingsApplyToWorkbooksAddedLater) {
  MemoryHost h;
  h.Settings().rows = 65536;
  h.Settings().cols = 256;
  h.Settings().sheetsInNewWorkbook = 1;
  EXPECT_EQ(h.AddWorkbook(), 2);
  EXPECT_EQ(h.WorkbookName(2), "Book2");
  EXPECT_EQ(h.ActiveWorkbook(), 2);
  EXPECT_EQ(h.RowsCount(), 65536);
  EXPECT_EQ(h.ColumnsCount(), 256);
  EXPECT_EQ(h.SheetCount(2), 1);
  EXPECT_THROW(h.SetValue({2, 1}, Cell{65537, 1}, Value::Number(1)), HostError);
  EXPECT_THROW(h.SetValue({2, 1}, Cell{1, 257}, Value::Number(1)), HostError);
  h.ActivateWorkbook(1);
  EXPECT_EQ(h.RowsCount(), 1048576);
}

TEST(MemoryHostSheetsTest, AddedSheetsTakeTheNextNumberAndBecomeActive) {
  MemoryHost h;
  const SheetRef added = h.AddSheetAfter({1, 1});
  EXPECT_EQ(added, (SheetRef{1, 2}));
  EXPECT_EQ(h.SheetName(added), "Sheet4");
  EXPECT_EQ(h.ActiveSheet(), added);
  h.RenameSheet(added, "+2");
  const SheetRef next = h.AddSheetAfter(added);
  h.RenameSheet(next, "+1");
  EXPECT_EQ(SheetNames(h, 1), (std::vector<std::string>{"Sheet1", "+2", "+1", "Sheet2", "Sheet3"}));
  // Names compare without regard to case: "SHEET7" takes the number 7.
  h.RenameSheet({1, 1}, "SHEET7");
  EXPECT_EQ(h.SheetName(h.AddSheetAfter({1, 5})), "Sheet8");
}

TEST(MemoryHostSheetsTest, RenameFollowsTheNameRules) {
  MemoryHost h;
  for (const char* bad :
       {"", "a:b", "a\\b", "a/b", "a?b", "a*b", "a[b", "a]b", "12345678901234567890123456789012"}) {
    EXPECT_THROW(h.RenameSheet({1, 1}, bad), HostError) << bad;
  }
  EXPECT_THROW(h.RenameSheet({1, 1}, "sheet2"), HostError);
  EXPECT_EQ(h.SheetName({1, 1}), "Sheet1");
  h.RenameSheet({1, 1}, "SHEET1");  // its own name in another case
  EXPECT_EQ(h.SheetName({1, 1}), "SHEET1");
  h.RenameSheet({1, 1}, "1234567890123456789012345678901");  // 31 characters
  h.RenameSheet({1, 2}, "工作表一二三四五六七八九十一二三四五六七八九十一二三四五六七八");
  EXPECT_THROW(h.RenameSheet({1, 3},
                             "工作表"  // 32 characters
                             "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九"),
               HostError);
}

TEST(MemoryHostSheetsTest, DeletingKeepsAtLeastOneSheetAndMovesTheActiveOne) {
  MemoryHost h;
  h.ActivateSheet({1, 2});
  h.DeleteSheet({1, 2});
  EXPECT_EQ(SheetNames(h, 1), (std::vector<std::string>{"Sheet1", "Sheet3"}));
  EXPECT_EQ(h.SheetName(h.ActiveSheet()), "Sheet3");
  h.DeleteSheet({1, 2});
  EXPECT_EQ(h.SheetName(h.ActiveSheet()), "Sheet1");
  EXPECT_THROW(h.DeleteSheet({1, 1}), HostError);
  EXPECT_EQ(h.SheetCount(1), 1);
  EXPECT_THROW(h.DeleteSheet({1, 2}), HostError);
  EXPECT_THROW(h.SheetName({2, 1}), HostError);
}

TEST(MemoryHostSheetsTest, EachSheetKeepsItsOwnSelectionAndScroll) {
  MemoryHost h;
  h.ActivateCell(Cell{5, 3});
  h.SetScrollRow(4);
  h.ActivateSheet({1, 2});
  EXPECT_EQ(h.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{1, 1}));
  h.ActivateSheet({1, 1});
  EXPECT_EQ(h.ActiveCell(), (Cell{5, 3}));
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{4, 1}));
}

TEST(MemoryHostSheetsTest, WorkbooksAreFoundAndClosed) {
  MemoryHost h;
  h.AddWorkbook();
  h.ActivateSheet({2, 3});
  EXPECT_EQ(h.ActiveSheet(), (SheetRef{2, 3}));
  h.ActivateSheet({1, 2});
  EXPECT_EQ(h.ActiveWorkbook(), 1);
  EXPECT_EQ(h.FindWorkbook("book2"), 2);
  EXPECT_THROW(h.FindWorkbook("Book3"), HostError);
  h.CloseWorkbook(1, false);
  EXPECT_EQ(h.WorkbookCount(), 1);
  EXPECT_EQ(h.WorkbookName(1), "Book2");
  EXPECT_EQ(h.ActiveWorkbook(), 1);
  EXPECT_EQ(h.AddWorkbook(), 2);
  EXPECT_EQ(h.WorkbookName(2), "Book3");  // numbers are never reused
  h.CloseWorkbook(2, false);
  h.CloseWorkbook(1, false);
  EXPECT_THROW(h.ActiveWorkbook(), HostError);
  EXPECT_THROW(h.ActiveSheet(), HostError);
  EXPECT_THROW(h.ActiveCell(), HostError);
}

TEST(MemoryHostSheetsTest, SaveAsGoesThroughTheSaverAndRenamesTheWorkbook) {
  MemoryHost h;
  EXPECT_THROW(h.SaveWorkbookAs(1, "/tmp/x.xlsx"), HostError);
  EXPECT_EQ(h.WorkbookName(1), "Book1");
  std::vector<std::string> written;
  h.SetSaver([&](const Workbook& book, const std::string& path) {
    written.push_back(book.Name() + ">" + path);
  });
  h.SaveWorkbookAs(1, "/tmp/out/模板.xlsx");
  EXPECT_EQ(h.WorkbookName(1), "模板.xlsx");
  EXPECT_EQ(h.GetWorkbook(1).Path(), "/tmp/out/模板.xlsx");
  h.SaveWorkbookAs(1, "C:\\Users\\a\\b.xlsx");
  EXPECT_EQ(h.WorkbookName(1), "b.xlsx");
  h.CloseWorkbook(1, true);
  EXPECT_EQ(written,
            (std::vector<std::string>{"Book1>/tmp/out/模板.xlsx", "模板.xlsx>C:\\Users\\a\\b.xlsx",
                                      "b.xlsx>C:\\Users\\a\\b.xlsx"}));
}

TEST(MemoryHostSheetsTest, AFailingSaverLeavesNameAndPathAlone) {
  MemoryHost h;
  h.SetSaver([](const Workbook&, const std::string&) { throw HostError("disk full"); });
  EXPECT_THROW(h.SaveWorkbookAs(1, "/tmp/a.xlsx"), HostError);
  EXPECT_EQ(h.WorkbookName(1), "Book1");
  EXPECT_EQ(h.GetWorkbook(1).Path(), "");
  EXPECT_THROW(h.CloseWorkbook(1, true), HostError);  // never saved: nowhere to save to
  EXPECT_EQ(h.WorkbookCount(), 1);
}

}  // namespace
}  // namespace tezlo
