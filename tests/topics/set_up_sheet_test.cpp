// "*1": initial sizes, column-block marks and slimming, each behind its own confirmation.
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

class SetUpSheetTest : public TopicsTest {
 protected:
  SetUpSheetTest() : TopicsTest(SmallGrid()) {}

  void FillSheet() {
    Put({60, 1}, "甲");
    Put({62, 3}, "a");
    Put({80, 1}, "乙");
    Put({90, 20}, "b");
    host.SetRowHeight(plus1, 62, 62, 30);
    host.SetColumnWidth(plus1, 3, 3, 20);
    host.SetColorIndex(plus1, Area::Of(Cell{400, 2}), 6);
  }

  std::vector<int32_t> MarkedWholeColumns(int32_t lastCol) {
    std::vector<int32_t> cols;
    for (int32_t c = 2; c <= lastCol; ++c) {
      if (host.ColorIndex(plus1, Cell{1, c}) == 43 &&
          host.ColorIndex(plus1, Cell{30000, c}) == 43) {
        cols.push_back(c);
      }
    }
    return cols;
  }
};

TEST_F(SetUpSheetTest, AsksThreeTimesWithTheExactTexts) {
  for (int i = 0; i < 3; ++i) ui.QueueAnswer(Answer::Cancel);
  Run("*1");
  const std::vector<MessageBoxRequest> boxes = ui.MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text,
            "点“确定”恢复初始的行宽列高（行高11.25，列宽8.5），\r\n"
            "不过请你回想一下，是否某些主题块需要做行高列宽记录？需要的话先点“取消”");
  EXPECT_EQ(boxes[1].text,
            "设置工作表已用区域，每隔13列设色带标识。\r\n请稍等10秒钟。点“取消”不设置。");
  EXPECT_EQ(boxes[2].text,
            "对当前工作表减肥，并定位在最后位置。\r\n请稍等10秒钟。点“取消”不减肥。");
  for (const MessageBoxRequest& box : boxes) {
    EXPECT_EQ(box.title, "设置提示");
    EXPECT_EQ(box.buttons, Buttons::OkCancel);
    EXPECT_EQ(box.icon, Icon::None);
  }
}

TEST_F(SetUpSheetTest, CancelThreeTimesChangesNothing) {
  FillSheet();
  host.ActivateCell(Cell{7, 7});
  for (int i = 0; i < 3; ++i) ui.QueueAnswer(Answer::Cancel);
  Run("*1");
  EXPECT_EQ(host.RowHeight(plus1, 62), 30);
  EXPECT_EQ(host.ColumnWidth(plus1, 3), 20);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{400, 2}), 6);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{60, 1}), 0);
  EXPECT_TRUE(MarkedWholeColumns(256).empty());
  EXPECT_EQ(host.UsedRange(plus1), Area::Of(60, 1, 400, 20));
  EXPECT_EQ(host.ActiveCell(), (Cell{7, 7}));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(SetUpSheetTest, OkOnEveryStepSizesMarksAndSlims) {
  FillSheet();
  Run("*1");  // no queued answers: every box answers OK
  EXPECT_EQ(ui.MessageBoxes().size(), 3u);
  EXPECT_EQ(host.RowHeight(plus1, 62), 11.25);
  EXPECT_EQ(host.ColumnWidth(plus1, 3), 8.5);

  // Marks right of the last data column went with the slimming; column A keeps its mark in the
  // rows that remain.
  EXPECT_EQ(MarkedWholeColumns(256), (std::vector<int32_t>{14}));
  EXPECT_EQ(host.ColorIndex(plus1, Cell{50, 1}), 0);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{51, 1}), 43);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{90, 1}), 43);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{400, 2}), 0);

  EXPECT_EQ(ctx.usedLastRow, 90);
  EXPECT_EQ(ctx.usedLastCol, 20);
  EXPECT_EQ(host.ActiveCell(), (Cell{90, 20}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{90, 20}));
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(SetUpSheetTest, MarksAloneColourEveryFurtherBlockAndColumnAToTheLastRowButOne) {
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueAnswer(Answer::Ok);
  ui.QueueAnswer(Answer::Cancel);
  Run("*1");
  std::vector<int32_t> expected;
  for (int32_t c = 14; c <= 235; c += 13) expected.push_back(c);
  EXPECT_EQ(expected.size(), 18u);
  EXPECT_EQ(MarkedWholeColumns(256), expected);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{1, 248}), 0);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{50, 1}), 0);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{51, 1}), 43);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{65535, 1}), 43);
  EXPECT_EQ(host.ColorIndex(plus1, Cell{65536, 1}), 0);
}

TEST_F(SetUpSheetTest, OnAPlus2SheetEvery26thColumnIsMarked) {
  host.ActivateSheet(plus2);
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueAnswer(Answer::Ok);
  ui.QueueAnswer(Answer::Cancel);
  Run("*1");
  EXPECT_EQ(ui.MessageBoxes()[1].text,
            "设置工作表已用区域，每隔26列设色带标识。\r\n请稍等10秒钟。点“取消”不设置。");
  std::vector<int32_t> marked;
  for (int32_t c = 2; c <= 256; ++c) {
    if (host.ColorIndex(plus2, Cell{1, c}) == 43) marked.push_back(c);
  }
  EXPECT_EQ(marked, (std::vector<int32_t>{27, 53, 79, 105, 131, 157, 183, 209}));
}

TEST_F(SetUpSheetTest, AnEmptySheetSizesA1AndLandsOnA1) {
  Run("*1");
  EXPECT_EQ(host.RowHeight(plus1, 1), 11.25);
  EXPECT_EQ(host.ColumnWidth(plus1, 1), 8.5);
  EXPECT_NE(host.RowHeight(plus1, 2), 11.25);
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));
}

}  // namespace
}  // namespace tezlo::testing
