// "*17": the topic blocks of the words in A1:C10 copied onto a new sheet after the active one.
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

class CopyTopicBlocksTest : public TopicsTest {
 protected:
  // Two topic blocks: A60:M63 and A80:M85.
  void FillTwoBlocks() {
    Put({60, 1}, "甲");
    Put({61, 2}, "a1");
    PutNumber({63, 13}, 7);
    Put({80, 1}, "乙");
    Put({82, 3}, "b1");
    Put({85, 2}, "b2");
  }
};

TEST_F(CopyTopicBlocksTest, OnlyA1AndB3GiveTwoCopiesTenRowsApart) {
  FillTwoBlocks();
  Put({1, 1}, "甲");
  Put({3, 2}, "乙");
  const Matrix sourceBefore = Values(Area::Of(1, 1, 200, 30));

  Run("*17");
  const SheetRef copy{1, 2};
  ASSERT_EQ(SheetNames().size(), 4u);
  EXPECT_EQ(host.ActiveSheet(), plus1);
  EXPECT_EQ(ctx.funcCode, "");
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(Values(Area::Of(51, 1, 54, 13), copy), Values(Area::Of(60, 1, 63, 13)));
  EXPECT_EQ(Values(Area::Of(65, 1, 70, 13), copy), Values(Area::Of(80, 1, 85, 13)));
  EXPECT_EQ(host.UsedRange(copy), Area::Of(51, 1, 70, 13));
  // The source's values stay where they were (the note of "*17" is a comment, not a value).
  EXPECT_EQ(Values(Area::Of(1, 1, 200, 30)), sourceBefore);
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(CopyTopicBlocksTest, AWordWithoutABlockContributesNothingAndLeavesTheSourceAlone) {
  FillTwoBlocks();
  Put({1, 1}, "甲");
  Put({2, 1}, "无此词");
  Put({3, 2}, "乙");
  const Matrix sourceBefore = Values(Area::Of(1, 1, 300, 30));
  const Area usedBefore = host.UsedRange(plus1);

  Run("*17");
  const SheetRef copy{1, 2};
  EXPECT_EQ(Values(Area::Of(51, 1, 54, 13), copy), Values(Area::Of(60, 1, 63, 13)));
  EXPECT_EQ(Values(Area::Of(65, 1, 70, 13), copy), Values(Area::Of(80, 1, 85, 13)));
  EXPECT_EQ(host.UsedRange(copy), Area::Of(51, 1, 70, 13));
  EXPECT_EQ(Values(Area::Of(1, 1, 300, 30)), sourceBefore);
  EXPECT_EQ(host.UsedRange(plus1), usedBefore);
}

TEST_F(CopyTopicBlocksTest, AClosePairOfBlocksGetsRoomOnTheSourceFirst) {
  Put({1, 1}, "甲");
  Put({60, 1}, "甲");
  Put({62, 2}, "a");
  Put({66, 1}, "乙");  // 4 rows below the block's last row
  Run("*17");
  EXPECT_EQ(TextAt({72, 1}), "乙");
  EXPECT_EQ(Values(Area::Of(51, 1, 53, 13), SheetRef{1, 2}), Values(Area::Of(60, 1, 62, 13)));
}

TEST_F(CopyTopicBlocksTest, OnWiderColumnBlocksOnlyTheTopicBlockIsCopied) {
  host.ActivateSheet(plus2);
  Put({1, 1}, "甲", plus2);
  Put({2, 1}, "乙", plus2);
  Put({60, 1}, "甲", plus2);
  Put({61, 2}, "a", plus2);
  Put({61, 15}, "列块其余部分", plus2);
  Put({80, 1}, "乙", plus2);
  Put({81, 20}, "也不复制", plus2);
  Run("*17");

  const SheetRef copy{1, 3};
  ASSERT_EQ(host.SheetName(copy).substr(0, 5), "Sheet");
  EXPECT_EQ(TextAt({51, 1}, copy), "甲");
  EXPECT_EQ(TextAt({52, 2}, copy), "a");
  EXPECT_EQ(TextAt({63, 1}, copy), "乙");
  EXPECT_EQ(host.CountA(copy, Area::Of(1, 14, 1048576, 26)), 0);
}

class CopyWrapTest : public TopicsTest {
 protected:
  CopyWrapTest() : TopicsTest(SmallGrid(300, 256)) {}
};

TEST_F(CopyWrapTest, ACopyThatWouldStartTooLowGoesToRow1OfTheNextColumnBlock) {
  Put({1, 1}, "甲");
  Put({2, 1}, "乙");
  Put({3, 1}, "丙");
  Put({60, 1}, "甲");
  Put({109, 2}, "甲末");  // 50 rows
  Put({120, 1}, "乙");
  Put({159, 2}, "乙末");  // 40 rows
  Put({170, 1}, "丙");
  Put({171, 3}, "丙末");
  Run("*17");

  const SheetRef copy{1, 2};
  EXPECT_EQ(TextAt({51, 1}, copy), "甲");
  EXPECT_EQ(TextAt({100, 2}, copy), "甲末");
  EXPECT_EQ(TextAt({111, 1}, copy), "乙");  // 51 + 50 + 10
  EXPECT_EQ(TextAt({150, 2}, copy), "乙末");
  // 111 + 40 + 10 = 161 lies below 300 - 150: the next copy starts at N1.
  EXPECT_EQ(TextAt({1, 14}, copy), "丙");
  EXPECT_EQ(TextAt({2, 16}, copy), "丙末");
}

}  // namespace
}  // namespace tezlo::testing
