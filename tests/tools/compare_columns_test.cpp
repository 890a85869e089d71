#include <gtest/gtest.h>

#include "tools/data_tools_fixture.h"

namespace tezlo::testing {
namespace {

class CompareColumnsTest : public DataToolsTest {
 protected:
  // A topic block at A60 whose rows 61.. hold the left list in B and the right list in C.
  void Lists(const std::vector<Value>& left, const std::vector<Value>& right) {
    PutText(Cell{60, 1}, "词");
    for (size_t i = 0; i < left.size(); ++i) Put(Cell{61 + static_cast<int32_t>(i), 2}, left[i]);
    for (size_t i = 0; i < right.size(); ++i) Put(Cell{61 + static_cast<int32_t>(i), 3}, right[i]);
    host.ActivateCell(Cell{61, 2});
  }
  void Compare(Answer answer = Answer::Ok) {
    ui.QueueAnswer(answer);
    Run("*18");
  }
  // Rows 61.. of one column.
  std::vector<Value> Out(int32_t col, int32_t rows) {
    std::vector<Value> out;
    for (int32_t r = 61; r < 61 + rows; ++r) out.push_back(At(Cell{r, col}));
    return out;
  }
  bool HeadersWritten() {
    return At(Cell{60, 4}) == T("左有右无") && At(Cell{60, 5}) == T("左右同有") &&
           At(Cell{60, 6}) == T("左无右有");
  }
  const Value blank{};
};

TEST_F(CompareColumnsTest, ItemsGoLeftOnlyBothOrRightOnlyByCaseBlindSubstring) {
  Lists({T("A"), T("b"), T("c")}, {T("a"), T("x"), T("bb")});
  Compare();
  EXPECT_EQ(Out(4, 3), (std::vector<Value>{blank, blank, T("c")}));
  EXPECT_EQ(Out(5, 3), (std::vector<Value>{T("A"), T("b"), blank}));
  EXPECT_EQ(Out(6, 3), (std::vector<Value>{blank, T("x"), T("bb")}));
  EXPECT_TRUE(HeadersWritten());
  EXPECT_TRUE(Blank(plus1, Area::Of(60, 7, 64, 13)));
  EXPECT_TRUE(Blank(plus1, Area::Of(64, 1, 70, 13)));

  const auto boxes = ui.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "标题行与主题词在同一行，第2列(左)、第3列(右)是要进行比较的两列\r\n"
            "第4列是“左有右无”的、第5列是“左右同有”的、第6列是“左无右有”的");
  EXPECT_EQ(boxes[0].title, "提示");
  EXPECT_EQ(boxes[0].buttons, Buttons::OkCancel);
}

TEST_F(CompareColumnsTest, CancelChangesNothing) {
  Lists({T("A")}, {T("a")});
  Compare(Answer::Cancel);
  EXPECT_TRUE(Blank(plus1, Area::Of(60, 4, 61, 6)));
}

TEST_F(CompareColumnsTest, NumbersCompareThroughTheirText) {
  Lists({N(12), T("7")}, {N(3124), T("x")});
  Compare();
  EXPECT_EQ(Out(5, 2), (std::vector<Value>{N(12), blank}));
  EXPECT_EQ(Out(4, 2), (std::vector<Value>{blank, N(7)}));
  EXPECT_EQ(Out(6, 2), (std::vector<Value>{N(3124), T("x")}));
}

TEST_F(CompareColumnsTest, CaseIsIgnoredBeyondAsciiAndDuplicatesStay) {
  Lists({T("ÄRGER"), T("ärger"), T("中文")}, {T("großer ärger"), T("文"), T("q")});
  Compare();
  EXPECT_EQ(Out(5, 3), (std::vector<Value>{T("ÄRGER"), T("ärger"), blank}));
  EXPECT_EQ(Out(4, 3), (std::vector<Value>{blank, blank, T("中文")}));
  EXPECT_EQ(Out(6, 3), (std::vector<Value>{T("großer ärger"), blank, T("q")}));
}

TEST_F(CompareColumnsTest, OldContentOfTheOutputColumnsIsOverwritten) {
  Lists({T("a"), T("b")}, {T("a"), T("c")});
  PutText(Cell{61, 4}, "old");
  PutText(Cell{62, 5}, "old");
  PutText(Cell{60, 6}, "old");
  Compare();
  EXPECT_EQ(Out(4, 2), (std::vector<Value>{blank, T("b")}));
  EXPECT_EQ(Out(5, 2), (std::vector<Value>{T("a"), blank}));
  EXPECT_TRUE(HeadersWritten());
}

TEST_F(CompareColumnsTest, ASingleDataRowIsAOneItemList) {
  Lists({T("ab")}, {T("xABy")});
  Compare();
  EXPECT_EQ(At(Cell{61, 4}), blank);
  EXPECT_EQ(At(Cell{61, 5}), T("ab"));
  EXPECT_EQ(At(Cell{61, 6}), T("xABy"));
  EXPECT_TRUE(HeadersWritten());
}

TEST_F(CompareColumnsTest, HeadersAreWrittenEvenWhenEveryOutputIsBlank) {
  Lists({blank, blank}, {blank, T("")});
  PutText(Cell{62, 8}, "data further right");  // gives the block its second data row
  Compare();
  EXPECT_TRUE(HeadersWritten());
  EXPECT_TRUE(Blank(plus1, Area::Of(61, 4, 62, 6)));
}

TEST_F(CompareColumnsTest, ATitleRowAloneWritesNothing) {
  PutText(Cell{60, 1}, "词");
  host.ActivateCell(Cell{60, 1});
  Compare();
  EXPECT_TRUE(Blank(plus1, Area::Of(60, 2, 62, 13)));
}

TEST_F(CompareColumnsTest, AnErrorValueInEitherListWritesNothing) {
  Lists({T("a"), Value::Error(ErrorCode::NA)}, {T("a"), T("b")});
  Compare();
  EXPECT_TRUE(Blank(plus1, Area::Of(60, 4, 62, 6)));
}

}  // namespace
}  // namespace tezlo::testing
