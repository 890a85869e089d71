// Codes above 100: the jump to a topic word of the index, the room below its block, the new block.
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

constexpr const char* kNoTopicWord = "没有主题词。";
constexpr const char* kNotInIndex = "所选单元格不在主题块内";

using TopicWordTest = TopicsTest;

TEST_F(TopicWordTest, Code105AddressesA5AndGoesToTheBlock) {
  Put({5, 1}, "苹果");
  Put({60, 1}, "苹果");
  Put({61, 2}, "红");
  Run("105");
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(host.ActiveCell(), (Cell{60, 1}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{60, 1}));
  EXPECT_EQ(ctx.sheetName, "苹果");
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(TopicWordTest, RefusesACellBelowTheIndex) {
  Put({51, 1}, "苹果");
  Run("151");
  ASSERT_EQ(ui.MessageBoxes().size(), 1u);
  const MessageBoxRequest box = ui.MessageBoxes()[0];
  EXPECT_EQ(box.text, kNotInIndex);
  EXPECT_EQ(box.title, "Tip");
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(box.buttons, Buttons::Ok);
  EXPECT_EQ(ctx.flowFlag, Flow::Stop);
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(51, 1, 51, 1));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(TopicWordTest, AnEmptyCellOutsideTheIndexShowsBothRefusalsInOrder) {
  Run("199");
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kNoTopicWord, kNotInIndex}));
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(1, 1, 1, 1));
}

TEST_F(TopicWordTest, AnEmptyIndexCellShowsOnlyTheMissingWord) {
  Run("107");
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kNoTopicWord}));
}

// A code whose row part is no plain whole number names no cell: it is refused as outside the
// index, and never falls back on the row of an earlier command.
class MalformedAddressTest : public TopicsTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedAddressTest, IsRefusedWithoutReusingAnEarlierRow) {
  Put({5, 1}, "苹果");
  Put({60, 1}, "苹果");
  Run("105");
  ASSERT_EQ(host.ActiveCell(), (Cell{60, 1}));
  host.ActivateCell(Cell{3, 3});
  const Area usedBefore = host.UsedRange(plus1);

  Run(GetParam());
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kNotInIndex}));
  EXPECT_EQ(ctx.flowFlag, Flow::Stop);
  EXPECT_EQ(host.ActiveCell(), (Cell{3, 3}));
  EXPECT_EQ(host.UsedRange(plus1), usedBefore);
}

INSTANTIATE_TEST_SUITE_P(Codes, MalformedAddressTest,
                         ::testing::Values("1e5", "1.5e3", "105abc", "12000000", "199999999999"));

TEST_F(TopicWordTest, TheRightmostColumnBlockWinsAndWithinItTheTopCell) {
  Put({5, 1}, "梨");
  Put({60, 1}, "梨");
  Put({90, 1}, "梨");
  Put({5, 14}, "梨");
  Run("105");
  EXPECT_EQ(host.ActiveCell(), (Cell{5, 14}));

  host.ClearContents(plus1, Area::Of(Cell{5, 14}));
  Run("105");
  EXPECT_EQ(host.ActiveCell(), (Cell{60, 1}));
}

TEST_F(TopicWordTest, MatchingIgnoresLetterCase) {
  Put({5, 1}, "apple");
  Put({60, 1}, "APPLE");
  Run("105");
  EXPECT_EQ(host.ActiveCell(), (Cell{60, 1}));
  EXPECT_TRUE(ui.Dialogs().empty());
}

TEST_F(TopicWordTest, WorkedExampleOfCode312OpensFiveRowsOfCells) {
  Put({12, 3}, "梨");
  Put({260, 1}, "梨");
  Put({270, 2}, "一");
  Put({295, 2}, "末");
  Put({300, 1}, "桃");
  Put({301, 2}, "桃的数据");
  Put({300, 14}, "别的列块");
  Run("312");

  EXPECT_EQ(host.ActiveCell(), (Cell{260, 1}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{260, 1}));
  EXPECT_EQ(TextAt({295, 2}), "末");
  EXPECT_TRUE(At({300, 1}).IsEmpty());
  EXPECT_EQ(TextAt({305, 1}), "桃");
  EXPECT_EQ(TextAt({306, 2}), "桃的数据");
  EXPECT_EQ(TextAt({300, 14}), "别的列块");
  EXPECT_EQ(host.CountA(plus1, Area::Of(296, 1, 304, 13)), 0);
}

TEST_F(TopicWordTest, OpensRoomOnlyWhenTheNextWordIsCloserThanTenRows) {
  Put({5, 1}, "甲");
  Put({60, 1}, "甲");
  Put({65, 3}, "数据");
  Put({69, 1}, "乙");   // 4 rows below the block's last row
  Put({120, 1}, "丙");  // far below
  Run("105");
  EXPECT_EQ(TextAt({75, 1}), "乙");
  EXPECT_TRUE(At({69, 1}).IsEmpty());
  EXPECT_EQ(TextAt({126, 1}), "丙");

  // Now exactly 10 rows apart: a second run changes nothing.
  const Matrix before = Values(Area::Of(1, 1, 200, 13));
  Run("105");
  EXPECT_EQ(Values(Area::Of(1, 1, 200, 13)), before);
}

TEST_F(TopicWordTest, AWordOnlyInTheIndexGetsANewBlockAfterSlimming) {
  Put({5, 1}, "新词");
  Put({60, 1}, "甲");
  Put({61, 2}, "a");
  Put({65, 4}, "d");
  Put({60, 14}, "乙");
  Put({62, 15}, "b");
  // A format far away enlarges the used range; slimming removes it.
  host.SetColorIndex(plus1, Area::Of(Cell{3000, 40}), 6);
  Run("105");

  // The last used column block is N:Z; its last topic block ends at row 62.
  EXPECT_EQ(TextAt({72, 14}), "新词");
  EXPECT_EQ(At({72, 15}), Value::Text("0"));
  EXPECT_EQ(host.ActiveCell(), (Cell{72, 14}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{72, 14}));
  EXPECT_EQ(host.ColorIndex(plus1, Cell{3000, 40}), 0);
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(5, 1, 72, 15));
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
  EXPECT_FALSE(ctx.curRegion.has_value());
}

TEST_F(TopicWordTest, NoNewBlockWhenTheSheetCannotBeSlimmed) {
  // Data in the bottom row stops the slimming; the position of the last block is then unknown.
  Put({5, 1}, "新词");
  Put({60, 1}, "甲");
  Put({1048576, 3}, "底");
  Run("105");
  EXPECT_EQ(host.CountA(plus1, Area::Of(1, 1, 1048576, 16384)), 3);
  EXPECT_EQ(TextAt({1048576, 3}), "底");
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(TopicWordTest, TheCode1000AddressesA1) {
  Put({1, 1}, "首");
  Put({60, 1}, "首");
  Run("1000");
  EXPECT_EQ(host.ActiveCell(), (Cell{60, 1}));
}

}  // namespace
}  // namespace tezlo::testing
