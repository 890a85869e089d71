#include <gtest/gtest.h>

#include "tools/data_tools_fixture.h"

namespace tezlo::testing {
namespace {

// Date serials of the 1900 system.
constexpr double k1980May1 = 29342;
constexpr double k2005May1 = 38473;
constexpr double k1910May1 = 3774;

class IdCardInfoTest : public DataToolsTest {
 protected:
  IdCardInfoTest() { system.SetToday({2024, 6, 30}); }

  // Numbers in B60 down, selected, then "*21" confirmed.
  void RunOn(const std::vector<std::string>& numbers) {
    for (size_t i = 0; i < numbers.size(); ++i)
      PutLiteral(Cell{60 + static_cast<int32_t>(i), 2}, numbers[i]);
    Select(Area::Of(60, 2, 59 + static_cast<int32_t>(numbers.size()), 2));
    ui.QueueAnswer(Answer::Ok);
    Run("*21");
  }
  bool RowWritten(int32_t row) { return !Blank(plus1, Area::Of(row, 3, row, 7)); }
};

TEST_F(IdCardInfoTest, EighteenCharactersGiveRegionBirthDateAgeAndSex) {
  PutText(Cell{60, 3}, "keep");
  RunOn({"11010519800501123X"});  // the check character X plays no part

  EXPECT_EQ(At(Cell{60, 3}), T("keep"));  // column +1 is never written
  EXPECT_EQ(At(Cell{60, 4}), N(110105));
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 4}), "@");
  EXPECT_EQ(At(Cell{60, 5}), Value::Date(k1980May1));
  EXPECT_EQ(At(Cell{60, 6}), N(44));
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 6}), "@");
  EXPECT_EQ(At(Cell{60, 7}), T("男"));  // 17th character 3: odd
  EXPECT_TRUE(Blank(plus1, Area::Of(60, 8, 60, 20)));
  EXPECT_TRUE(host.ScreenUpdating());

  const auto boxes = ui.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "此程序将右展4列，分别代表地区、生日、年龄、性别。");
  EXPECT_EQ(boxes[0].title, "提示");
  EXPECT_EQ(boxes[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(boxes[0].icon, Icon::None);
  // The dispatcher noted the tool in the topic block's note before running it.
  EXPECT_EQ(host.CommentText(plus1, Cell{51, 2}), "*21 身份证信息\r\n");
}

TEST_F(IdCardInfoTest, FifteenCharactersTakeTheCenturyFromTheYearsTensDigit) {
  RunOn({"110105050501123", "110105100501124", "110105991231125"});
  EXPECT_EQ(At(Cell{60, 5}), Value::Date(k2005May1));  // 05: 2005
  EXPECT_EQ(At(Cell{60, 6}), N(19));
  EXPECT_EQ(At(Cell{60, 7}), T("男"));                 // 15th character 3
  EXPECT_EQ(At(Cell{61, 5}), Value::Date(k1910May1));  // 10: 1910
  EXPECT_EQ(At(Cell{61, 6}), N(114));
  EXPECT_EQ(At(Cell{61, 7}), T("女"));  // 15th character 4
  EXPECT_EQ(At(Cell{62, 6}), N(25));    // 99: 1999
  EXPECT_EQ(At(Cell{62, 7}), T("男"));
  for (int32_t row = 60; row <= 62; ++row) {
    EXPECT_EQ(host.NumberFormat(plus1, Cell{row, 4}), "@") << row;
    EXPECT_EQ(host.NumberFormat(plus1, Cell{row, 6}), "@") << row;
    EXPECT_EQ(host.NumberFormat(plus1, Cell{row, 7}), "General") << row;
  }
  EXPECT_EQ(host.NumberFormat(plus1, Cell{63, 4}), "General");
}

TEST_F(IdCardInfoTest, AgeCountsCalendarYearsOnly) {
  RunOn({"110105199001010011", "110105199012310022"});
  EXPECT_EQ(At(Cell{60, 6}), N(34));
  EXPECT_EQ(At(Cell{61, 6}), N(34));
}

TEST_F(IdCardInfoTest, CancelWritesNothing) {
  PutLiteral(Cell{60, 2}, "11010519800501123X");
  Select(Area::Of(60, 2, 60, 2));
  ui.QueueAnswer(Answer::Cancel);
  Run("*21");
  EXPECT_FALSE(RowWritten(60));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(IdCardInfoTest, ALengthOtherThan15Or18StopsAtThatCell) {
  RunOn({"11010519800501123X", "1101051980050112", "110105198005011234"});
  EXPECT_TRUE(RowWritten(60));
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 4}), "@");
  EXPECT_EQ(host.NumberFormat(plus1, Cell{61, 4}), "General");
  EXPECT_FALSE(RowWritten(61));
  EXPECT_FALSE(RowWritten(62));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(IdCardInfoTest, AnEmptyCellStopsTheTool) {
  PutLiteral(Cell{60, 2}, "11010519800501123X");
  PutLiteral(Cell{62, 2}, "11010519800501123X");
  Select(Area::Of(60, 2, 62, 2));
  ui.QueueAnswer(Answer::Ok);
  Run("*21");
  EXPECT_TRUE(RowWritten(60));
  EXPECT_FALSE(RowWritten(62));

  Select(Area::Of(61, 2, 62, 2));  // the first cell empty: nothing at all
  ui.QueueAnswer(Answer::Ok);
  Run("*21");
  EXPECT_FALSE(RowWritten(62));
}

TEST_F(IdCardInfoTest, NumbersStoredAsNumbersAreReadThroughTheirText) {
  Put(Cell{60, 2}, N(110105800501123));       // 15 digits: its text is the number itself
  Put(Cell{61, 2}, N(110105198005011234.0));  // 18 digits read as "1.10105198005011E+17"
  Put(Cell{62, 2}, N(110105800501123));
  Select(Area::Of(60, 2, 62, 2));
  ui.QueueAnswer(Answer::Ok);
  Run("*21");
  EXPECT_EQ(At(Cell{60, 5}), Value::Date(k1980May1));
  EXPECT_FALSE(RowWritten(61));
  EXPECT_FALSE(RowWritten(62));
}

TEST_F(IdCardInfoTest, ABirthDateThatIsNoDateEndsTheToolAtThatCell) {
  RunOn({"110105198013011234", "11010519800501123X"});
  EXPECT_EQ(At(Cell{60, 4}), N(110105));  // written before the failing step
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 4}), "@");
  EXPECT_EQ(At(Cell{60, 5}), T("1980-13-01"));  // not a date: the age cannot be taken
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 6}), "General");
  EXPECT_TRUE(At(Cell{60, 6}).IsEmpty());
  EXPECT_TRUE(At(Cell{60, 7}).IsEmpty());
  EXPECT_FALSE(RowWritten(61));
  EXPECT_TRUE(host.ScreenUpdating());
}

TEST_F(IdCardInfoTest, ANonDigitWhereADigitIsReadEndsTheTool) {
  RunOn({"110105A80501123", "11010519800501123X"});  // 7th character of a 15-character number
  EXPECT_FALSE(RowWritten(60));
  EXPECT_FALSE(RowWritten(61));
}

TEST_F(IdCardInfoTest, SelectionAreasRunRowByRowInSelectionOrder) {
  PutLiteral(Cell{60, 2}, "11010519800501123X");
  PutLiteral(Cell{70, 9}, "110105050501123");
  host.Select(Selection{{Area::Of(70, 9, 70, 9), Area::Of(60, 2, 60, 2)}, Cell{70, 9}});
  ui.QueueAnswer(Answer::Ok);
  Run("*21");
  EXPECT_EQ(At(Cell{70, 12}), Value::Date(k2005May1));
  EXPECT_EQ(At(Cell{60, 5}), Value::Date(k1980May1));
  for (const Cell cell : {Cell{70, 11}, Cell{70, 13}, Cell{60, 4}, Cell{60, 6}}) {
    EXPECT_EQ(host.NumberFormat(plus1, cell), "@") << cell.row << "," << cell.col;
  }
}

TEST_F(IdCardInfoTest, AnUnreadableClockEndsTheToolBeforeTheAge) {
  system.SetUnreadable(FixedSystem::Source::Today);
  RunOn({"11010519800501123X", "11010519800501123X"});
  EXPECT_EQ(At(Cell{60, 5}), Value::Date(k1980May1));
  EXPECT_TRUE(At(Cell{60, 6}).IsEmpty());
  EXPECT_FALSE(RowWritten(61));
}

TEST_F(IdCardInfoTest, OutputsOverlappingLaterNumbersOfTheSameRowFollowTheCellOrder) {
  // B60 and C60 both hold numbers, so C60's outputs land on B60's: every write happens in cell
  // order, each "@" right after its value. B60's age cell F60 is "@" by the time C60's birth
  // date reaches it, so that date stays text (and its year is read from the text).
  PutLiteral(Cell{60, 2}, "11010519800501123X");
  PutLiteral(Cell{60, 3}, "220102050501124");
  Select(Area::Of(60, 2, 60, 3));
  ui.QueueAnswer(Answer::Ok);
  Run("*21");
  EXPECT_EQ(At(Cell{60, 4}), N(110105));  // B60's region
  EXPECT_EQ(At(Cell{60, 5}), N(220102));  // C60's region over B60's date
  EXPECT_EQ(host.NumberFormat(plus1, Cell{60, 5}), "@");
  EXPECT_EQ(At(Cell{60, 6}), T("2005-05-01"));  // C60's date in B60's "@" age cell
  EXPECT_EQ(At(Cell{60, 7}), N(19));            // C60's age over B60's sex
  EXPECT_EQ(At(Cell{60, 8}), T("女"));
}

}  // namespace
}  // namespace tezlo::testing
