#include <gtest/gtest.h>

#include "tools/data_tools_fixture.h"

namespace tezlo::testing {
namespace {

class BlockColumnTest : public DataToolsTest {
 protected:
  const SheetRef newSheet{1, 2};  // right after "+1"

  // 1..count down column B from row 60, selected.
  void NumberedColumn(int32_t count) {
    for (int32_t i = 1; i <= count; ++i) Put(Cell{59 + i, 2}, N(i));
    Select(Area::Of(60, 2, 59 + count, 2));
  }
  void ColumnToBlockWith(std::optional<std::string> answer) {
    ui.QueueInput(std::move(answer));
    Run("*12");
  }
  std::vector<Value> Numbers(std::initializer_list<int> items) {
    std::vector<Value> out;
    for (int i : items) out.push_back(i == 0 ? Value{} : N(i));
    return out;
  }
};

TEST_F(BlockColumnTest, BlockToColumnStacksTheBlocksColumns) {
  Put(Cell{60, 2}, N(1));
  Put(Cell{60, 3}, N(2));
  Put(Cell{60, 4}, N(3));
  Put(Cell{61, 2}, N(4));
  Put(Cell{61, 3}, N(5));
  Put(Cell{61, 4}, N(6));
  Select(Area::Of(60, 2, 61, 4));
  Run("*11");

  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "Sheet4", "+2", "Sheet3"}));
  EXPECT_EQ(host.ActiveSheet(), newSheet);
  EXPECT_EQ(Column(newSheet, 1, 7), Numbers({1, 4, 2, 5, 3, 6, 0}));
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 2, 10, 5)));
  EXPECT_EQ(At(Cell{61, 4}), N(6));  // the source stays
  EXPECT_TRUE(host.ScreenUpdating());

  const auto boxes = ui.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "此功能是把选定的方块在新表里转为单列，便于排序等操作。");
  EXPECT_EQ(boxes[0].title, "Tip");
  EXPECT_EQ(boxes[0].icon, Icon::Information);
}

TEST_F(BlockColumnTest, BlockToColumnKeepsBlanksInPlace) {
  Put(Cell{60, 2}, N(1));
  PutText(Cell{61, 3}, "x");
  Select(Area::Of(60, 2, 61, 3));
  Run("*11");
  EXPECT_EQ(Column(newSheet, 1, 4), (std::vector<Value>{N(1), Value{}, Value{}, T("x")}));
}

TEST_F(BlockColumnTest, BlockToColumnOnOneCellLeavesTheNewSheetEmpty) {
  Put(Cell{60, 2}, N(1));
  Select(Area::Of(60, 2, 60, 2));
  Run("*11");
  EXPECT_EQ(host.SheetCount(1), 4);
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 1, 100, 10)));
}

TEST_F(BlockColumnTest, BlockToColumnOnWholeColumnsStopsAtTheSheetsLastRow) {
  Put(Cell{1, 2}, N(1));
  Put(Cell{65536, 2}, N(2));
  Put(Cell{1, 3}, N(3));
  Select(Area::Of(1, 2, 65536, 3));
  Run("*11");
  EXPECT_EQ(At(Cell{1, 1}, newSheet), N(1));
  EXPECT_EQ(At(Cell{65536, 1}, newSheet), N(2));
  EXPECT_EQ(host.CountA(newSheet, Area::Of(1, 1, 65536, 1)), 2);  // column C does not fit
}

TEST_F(BlockColumnTest, ColumnToBlockFillsColumnByColumn) {
  NumberedColumn(10);
  ColumnToBlockWith("4");
  EXPECT_EQ(Column(newSheet, 1, 5), Numbers({1, 2, 3, 4, 0}));
  EXPECT_EQ(Column(newSheet, 2, 5), Numbers({5, 6, 7, 8, 0}));
  EXPECT_EQ(Column(newSheet, 3, 5), Numbers({9, 10, 0, 0, 0}));
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 4, 20, 10)));
  EXPECT_EQ(host.ActiveSheet(), newSheet);
  EXPECT_TRUE(host.ScreenUpdating());

  const auto tips = ui.MessageBoxes();
  ASSERT_EQ(tips.size(), 1u);
  EXPECT_EQ(tips[0].text, "此功能是把选定的单列在新表里转为方块，便于打印等操作。");
  const auto asks = ui.InputBoxes();
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].prompt, "此单列共有 10 行，请输入你想转为方块后保持多少行数。");
  EXPECT_EQ(asks[0].title, "提示");
  EXPECT_EQ(asks[0].defaultValue, "");
}

TEST_F(BlockColumnTest, ColumnToBlockShapes) {
  NumberedColumn(8);
  ColumnToBlockWith("4");
  EXPECT_EQ(host.CountA(newSheet, Area::Of(1, 1, 4, 2)), 8);
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 3, 30, 5)));

  host.ActivateSheet(plus1);
  Select(Area::Of(60, 2, 67, 2));
  ColumnToBlockWith("20");
  const SheetRef second = host.ActiveSheet();
  EXPECT_EQ(Column(second, 1, 9), Numbers({1, 2, 3, 4, 5, 6, 7, 8, 0}));
  EXPECT_TRUE(Blank(second, Area::Of(1, 2, 30, 5)));
}

TEST_F(BlockColumnTest, FractionalAnswersRoundHalfToEven) {
  NumberedColumn(8);
  ColumnToBlockWith("2.5");  // 2 rows: 4 columns
  EXPECT_EQ(host.CountA(newSheet, Area::Of(1, 1, 2, 4)), 8);
  EXPECT_TRUE(Blank(newSheet, Area::Of(3, 1, 10, 6)));

  host.ActivateSheet(plus1);
  Select(Area::Of(60, 2, 67, 2));
  ColumnToBlockWith("3.5");  // 4 rows: 2 columns
  const SheetRef second = host.ActiveSheet();
  EXPECT_EQ(Column(second, 2, 5), Numbers({5, 6, 7, 8, 0}));
  EXPECT_TRUE(Blank(second, Area::Of(1, 3, 10, 6)));
}

TEST_F(BlockColumnTest, NoUsableAnswerLeavesTheNewSheetEmpty) {
  for (const std::optional<std::string>& answer :
       std::vector<std::optional<std::string>>{std::nullopt, "", "0", "-3", "abc", "4x"}) {
    host.ActivateSheet(plus1);
    NumberedColumn(10);
    const int32_t sheetsBefore = host.SheetCount(1);
    ColumnToBlockWith(answer);
    EXPECT_EQ(host.SheetCount(1), sheetsBefore + 1) << answer.value_or("<cancel>");
    EXPECT_TRUE(Blank(newSheet, Area::Of(1, 1, 100, 20))) << answer.value_or("<cancel>");
  }
}

TEST_F(BlockColumnTest, ABlockTallerThanTheSheetIsNotWritten) {
  NumberedColumn(3);
  ColumnToBlockWith("70000");
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 1, 100, 5)));
}

TEST_F(BlockColumnTest, ColumnToBlockReadsOnlyTheSelectionsFirstColumn) {
  NumberedColumn(4);
  PutText(Cell{60, 3}, "other");
  Select(Area::Of(60, 2, 63, 3));
  ColumnToBlockWith("2");
  EXPECT_EQ(Column(newSheet, 1, 2), Numbers({1, 2}));
  EXPECT_EQ(Column(newSheet, 2, 2), Numbers({3, 4}));
  EXPECT_TRUE(Blank(newSheet, Area::Of(1, 3, 10, 6)));
}

}  // namespace
}  // namespace tezlo::testing
