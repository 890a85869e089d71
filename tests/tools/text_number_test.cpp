#include <gtest/gtest.h>

#include "tools/data_tools_fixture.h"
#include "tools/numeric_text.h"

namespace tezlo::testing {
namespace {

class TextNumberTest : public DataToolsTest {
 protected:
  void Swap(std::optional<std::string> answer) {
    ui.QueueInput(std::move(answer));
    Run("*22");
  }
};

TEST_F(TextNumberTest, ChoiceOneTurnsDigitTextIntoNumbersAndFormulasIntoValues) {
  PutLiteral(Cell{60, 2}, "00123");
  host.SetNumberFormat(plus1, Area::Of(61, 2, 61, 2), "@");
  PutText(Cell{61, 2}, "456");  // kept as text by its format
  host.SetFormula(plus1, Cell{62, 2}, "=1+1", N(2));
  PutText(Cell{63, 2}, "abc");
  Select(Area::Of(60, 2, 63, 2));
  Swap("1");

  EXPECT_EQ(At(Cell{60, 2}), N(123));
  EXPECT_EQ(At(Cell{61, 2}), N(456));
  EXPECT_EQ(host.NumberFormat(plus1, Cell{61, 2}), "General");
  EXPECT_EQ(At(Cell{62, 2}), N(2));
  EXPECT_FALSE(host.HasFormula(plus1, Cell{62, 2}));
  EXPECT_EQ(At(Cell{63, 2}), T("abc"));
  EXPECT_TRUE(host.ScreenUpdating());

  const auto asks = ui.InputBoxes();
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].prompt, "输入1：将文本转换成数字；\n输入2：将数字转换成文本。");
  EXPECT_EQ(asks[0].title, "提示");
  EXPECT_EQ(asks[0].defaultValue, "1");
}

TEST_F(TextNumberTest, ChoiceTwoTurnsNumbersIntoText) {
  Put(Cell{60, 2}, N(123));
  PutLiteral(Cell{61, 2}, "123");
  PutText(Cell{62, 2}, "abc");
  Put(Cell{63, 2}, N(1.5));
  Put(Cell{64, 2}, Value::Boolean(true));
  Select(Area::Of(60, 2, 64, 2));
  Swap("2");

  EXPECT_EQ(At(Cell{60, 2}), T("123"));
  EXPECT_EQ(At(Cell{61, 2}), T("123"));
  EXPECT_EQ(At(Cell{62, 2}), T("abc"));
  EXPECT_EQ(At(Cell{63, 2}), T("1.5"));
  EXPECT_EQ(At(Cell{64, 2}), Value::Boolean(true));
}

TEST_F(TextNumberTest, ChoiceTwoGivesEmptyCellsInsideTheUsedRangeAnEmptyText) {
  Put(Cell{60, 2}, N(1));
  Put(Cell{62, 2}, N(3));
  Select(Area::Of(60, 2, 62, 2));
  Swap("2");
  EXPECT_EQ(At(Cell{61, 2}), T(""));
  EXPECT_EQ(host.CountA(plus1, Area::Of(60, 2, 62, 2)), 3);
}

TEST_F(TextNumberTest, OtherAnswersAndCancelChangeNothing) {
  PutLiteral(Cell{60, 2}, "00123");
  Put(Cell{61, 2}, N(5));
  Select(Area::Of(60, 2, 61, 2));
  for (const std::optional<std::string>& answer :
       std::vector<std::optional<std::string>>{"3", " 1", "01", "", std::nullopt}) {
    Swap(answer);
    EXPECT_EQ(At(Cell{60, 2}), T("00123")) << answer.value_or("<cancel>");
    EXPECT_EQ(At(Cell{61, 2}), N(5)) << answer.value_or("<cancel>");
    EXPECT_TRUE(host.ScreenUpdating());
  }
}

TEST_F(TextNumberTest, OnlyThePartInsideTheUsedRangeIsConverted) {
  Put(Cell{60, 2}, N(1));
  Put(Cell{61, 3}, N(2));  // the used range is B60:C61
  Select(Area::Of(59, 1, 63, 2));
  Swap("2");
  EXPECT_EQ(At(Cell{60, 2}), T("1"));
  EXPECT_EQ(At(Cell{61, 2}), T(""));       // inside: an empty text now
  EXPECT_TRUE(At(Cell{59, 1}).IsEmpty());  // outside: untouched
  EXPECT_TRUE(At(Cell{63, 2}).IsEmpty());
  EXPECT_TRUE(At(Cell{60, 1}).IsEmpty());
  EXPECT_EQ(At(Cell{61, 3}), N(2));  // not selected
}

TEST_F(TextNumberTest, ASelectionOutsideTheUsedRangeChangesNothing) {
  Put(Cell{60, 2}, N(1));
  Select(Area::Of(100, 5, 101, 6));
  Swap("2");
  EXPECT_TRUE(Blank(plus1, Area::Of(100, 5, 101, 6)));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(TextNumberTest, EachAreaOfASelectionIsConvertedFromItsOwnValues) {
  PutLiteral(Cell{60, 2}, "007");
  PutLiteral(Cell{70, 5}, "042");
  host.Select(Selection{{Area::Of(60, 2, 60, 2), Area::Of(70, 5, 70, 5)}, Cell{60, 2}});
  Swap("1");
  EXPECT_EQ(At(Cell{60, 2}), N(7));
  EXPECT_EQ(At(Cell{70, 5}), N(42));
}

TEST(ReadsAsNumber, AcceptsTheNumeralsTheMacroLanguageAccepts) {
  for (const char* yes :
       {"00123", "123", " -1,234.5 ", "+.5", "5.", "1e3", "1D-2", "&H1F", "&o17"}) {
    EXPECT_TRUE(ReadsAsNumber(yes)) << yes;
  }
  for (const char* no :
       {"", " ", "abc", "12abc", "1.2.3", "-", ".", "1e", "&H", "&O8", ",1", "1,", "1 2"}) {
    EXPECT_FALSE(ReadsAsNumber(no)) << no;
  }
}

}  // namespace
}  // namespace tezlo::testing
