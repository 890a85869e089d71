#include <gtest/gtest.h>

#include "tools/data_tools_fixture.h"

namespace tezlo::testing {
namespace {

class ListingsTest : public DataToolsTest {
 protected:
  const SheetRef newSheet{1, 2};  // right after "+1"

  void ExpectOneNewEmptySheet() {
    EXPECT_EQ(host.SheetCount(1), 4);
    EXPECT_EQ(host.ActiveSheet(), newSheet);
    EXPECT_TRUE(Blank(newSheet, Area::Of(1, 1, 100, 10)));
    EXPECT_TRUE(host.ScreenUpdating());
  }
};

TEST_F(ListingsTest, ProcessesGoUnderFiveHeaders) {
  system.SetProcesses(
      {ProcessInfo{"init", "root", 1, 1.5, "/sbin/init"}, ProcessInfo{"kworker", "", 7, 0, ""}});
  Run("*14");
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "Sheet4", "+2", "Sheet3"}));
  EXPECT_EQ(host.ActiveSheet(), newSheet);
  const Matrix table = host.GetValues(newSheet, Area::Of(1, 1, 4, 6));
  Matrix expected(4, 6);
  const std::vector<Value> rows[] = {
      {T("进程"), T("用户"), T("进程ID"), T("内存"), T("路径")},
      {T("init"), T("root"), N(1), N(1.5), T("/sbin/init")},
      {T("kworker"), Value{}, N(7), N(0), Value{}},
  };
  for (int32_t r = 0; r < 3; ++r) {
    for (int32_t c = 0; c < 5; ++c) expected.At(r, c) = rows[r][static_cast<size_t>(c)];
  }
  EXPECT_EQ(table, expected);
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(ListingsTest, EveryProcessIsListedHoweverMany) {
  std::vector<ProcessInfo> many;
  for (int64_t id = 1; id <= 1000; ++id)
    many.push_back(ProcessInfo{"p" + std::to_string(id), "u", id, 4, "/p"});
  system.SetProcesses(many);
  Run("*14");
  EXPECT_EQ(host.CountA(newSheet, Area::Of(1, 3, 2000, 3)), 1001);
  EXPECT_EQ(At(Cell{1001, 3}, newSheet), N(1000));
  EXPECT_EQ(At(Cell{256, 1}, newSheet), T("p255"));
}

TEST_F(ListingsTest, UnreadableProcessesLeaveAnEmptySheet) {
  system.SetUnreadable(FixedSystem::Source::Processes);
  Run("*14");
  ExpectOneNewEmptySheet();
}

TEST_F(ListingsTest, DriveListingLinesGoDownColumnA) {
  system.SetDriveFolderListing({" Directory of /", "", "2024-01-05  10:00    <DIR>          home",
                                "               1 Dir(s)", "", ""});
  Run("*20");
  EXPECT_EQ(Column(newSheet, 1, 4),
            (std::vector<Value>{T(" Directory of /"), Value{},
                                T("2024-01-05  10:00    <DIR>          home"),
                                T("               1 Dir(s)")}));
  EXPECT_TRUE(Blank(newSheet, Area::Of(5, 1, 100, 10)));
  EXPECT_EQ(host.ActiveSheet(), newSheet);
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(ListingsTest, UnreadableDrivesLeaveAnEmptySheet) {
  system.SetUnreadable(FixedSystem::Source::DriveFolderListing);
  Run("*20");
  ExpectOneNewEmptySheet();
}

TEST_F(ListingsTest, DesktopItemsOnePerRow) {
  system.SetDesktopItems({"a.txt", "b.docx", "notes", "c.xlsx"});
  Run("*13");
  EXPECT_EQ(Column(newSheet, 1, 5),
            (std::vector<Value>{T("a.txt"), T("b.docx"), T("notes"), T("c.xlsx"), Value{}}));
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 2, 100, 10)));
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "Sheet4", "+2", "Sheet3"}));
  EXPECT_EQ(host.CommentText(plus1, Cell{51, 2}), "*13 获取桌面文件列表\r\n");
}

TEST_F(ListingsTest, AnEmptyOrUnreadableDesktopLeavesAnEmptySheet) {
  Run("*13");
  ExpectOneNewEmptySheet();
  host.ActivateSheet(plus1);
  system.SetUnreadable(FixedSystem::Source::DesktopItems);
  Run("*13");
  EXPECT_EQ(host.SheetCount(1), 5);
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 1, 100, 10)));
}

TEST_F(ListingsTest, TheNewSheetStandsAfterTheActiveWorkingSheet) {
  host.ActivateSheet(SheetRef{1, 2});  // "+2"
  system.SetDesktopItems({"x"});
  Run("*13");
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "+2", "Sheet4", "Sheet3"}));
  EXPECT_EQ(At(Cell{1, 1}, SheetRef{1, 3}), T("x"));
}

}  // namespace
}  // namespace tezlo::testing
