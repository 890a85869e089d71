// "*19": the topic words of the active sheet in column A of a new sheet after it.
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

using TopicListTest = TopicsTest;

std::vector<Value> ColumnA(MemoryHost& host, SheetRef sheet, int32_t rows) {
  std::vector<Value> values;
  for (int32_t r = 1; r <= rows; ++r) values.push_back(host.GetValue(sheet, Cell{r, 1}));
  return values;
}

TEST_F(TopicListTest, ListsRightHandBlocksFirstAndLeavesOutTheIndex) {
  Put({5, 1}, "索引词");
  Put({60, 1}, "甲");
  Put({61, 2}, "不是主题词");
  Put({80, 1}, "乙");
  Put({5, 14}, "丙");
  PutNumber({20, 14}, 42);
  Put({3, 27}, "丁");
  Put({90, 1}, "甲");

  Run("*19");
  ASSERT_EQ(SheetNames().size(), 4u);
  const SheetRef list{1, 2};
  EXPECT_EQ(host.ActiveSheet(), plus1);
  EXPECT_EQ(ColumnA(host, list, 7),
            (std::vector<Value>{Value::Text("丁"), Value::Text("丙"), Value::Number(42),
                                Value::Text("甲"), Value::Text("乙"), Value::Text("甲"), Value()}));
  EXPECT_EQ(host.UsedRange(list), Area::Of(1, 1, 6, 1));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(TopicListTest, ASheetWithoutTopicWordsGivesAnEmptySheet) {
  Put({5, 1}, "索引词");
  Put({60, 2}, "数据");
  Run("*19");
  ASSERT_EQ(SheetNames().size(), 4u);
  EXPECT_EQ(host.CountA(SheetRef{1, 2}, Area::Of(1, 1, 1048576, 16384)), 0);
  EXPECT_EQ(host.ActiveSheet(), plus1);
}

TEST_F(TopicListTest, AWordInTheBottomRowIsListed) {
  Put({1048576, 14}, "底");
  Put({60, 1}, "甲");
  Run("*19");
  EXPECT_EQ(ColumnA(host, SheetRef{1, 2}, 2),
            (std::vector<Value>{Value::Text("底"), Value::Text("甲")}));
}

}  // namespace
}  // namespace tezlo::testing
