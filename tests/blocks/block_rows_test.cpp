// Inserting and deleting rows inside one column block: "++", "--", "+n" and "-n".

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

// The area every test compares: well past the data, and three column blocks wide.
const Area kWatched = Area::Of(1, 1, 260, 42);

// `before` (a snapshot of kWatched) after `count` rows of the 13 columns from `blockCol` were
// inserted at `row` (count > 0) or deleted there (count < 0).
Matrix Shifted(const Matrix& before, int32_t row, int32_t blockCol, int32_t count) {
  Matrix expected = before;
  for (int32_t r = row; r <= kWatched.last.row; ++r) {
    for (int32_t c = blockCol; c < blockCol + 13; ++c) {
      const int32_t from = r - count;
      Value value;
      if (count > 0 && r < row + count) {
        value = Value();
      } else if (from <= kWatched.last.row) {
        value = before.At(from - 1, c - 1);
      }
      expected.At(r - 1, c - 1) = value;
    }
  }
  return expected;
}

// A sheet whose first three column blocks are filled from row 51 to row 120, every cell with
// where it stood.
struct FilledSheet : BlockSheet {
  explicit FilledSheet(const std::string& name = "+1") : BlockSheet(name) {
    FillLabels("A51:AO120");
  }
  Matrix Watched() { return Values(kWatched); }
};

TEST(InsertBlockRows, ShiftsOnlyTheThirteenColumnsOfTheBlock) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("R60");  // column 18, in the second block (N to Z)
  s.Run("+3");
  EXPECT_EQ(s.Watched(), Shifted(before, 60, 14, 3));
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(InsertBlockRows, NewCellsTakeTheFormatOfTheCellsAbove) {
  FilledSheet s;
  // Column A marked as "*1" marks it, column B given a number format, from row 51 down.
  s.host.SetColorIndex(s.sheet, Area::Of(51, 1, 259, 1), 43);
  s.host.SetNumberFormat(s.sheet, Area::Of(51, 2, 120, 2), "0.00");
  s.Activate("C60");
  s.Run("+3");
  for (int32_t row = 51; row <= 259; ++row) {
    EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{row, 1}), 43) << row;  // the band is unbroken
  }
  for (int32_t row = 60; row <= 62; ++row) {
    EXPECT_EQ(s.host.NumberFormat(s.sheet, Cell{row, 2}), "0.00") << row;
    EXPECT_EQ(s.Get(row, 2), Value()) << row;  // the format, never the value
  }
  EXPECT_EQ(s.host.NumberFormat(s.sheet, Cell{123, 2}), "0.00");  // B120 moved down
  EXPECT_EQ(s.host.NumberFormat(s.sheet, Cell{124, 2}), "General");
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{60, 14}), 0);  // beyond the block nothing changed
}

TEST(InsertBlockRows, NewCellsInRowOneStayUnformatted) {
  FilledSheet s;
  s.host.SetColorIndex(s.sheet, Area::Of(1, 1, 5, 13), 6);
  s.Activate("A1");
  s.Run("+2");
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{1, 1}), 0);
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{2, 13}), 0);
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{3, 1}), 6);
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{7, 13}), 6);
}

TEST(InsertBlockRows, CountAboveTenInsertsTenRows) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("C70");
  s.Run("+12");
  EXPECT_EQ(s.Watched(), Shifted(before, 70, 1, 10));
}

TEST(InsertBlockRows, FractionalCountRoundsHalfToEven) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("C70");
  s.Run("+2.5");
  EXPECT_EQ(s.Watched(), Shifted(before, 70, 1, 2));
}

TEST(DeleteBlockRows, DeletesAfterAskingWhenTheRowsHoldData) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("AC80");  // third block (AA to AM)
  s.ui.QueueAnswer(Answer::Ok);
  s.Run("-25");
  ASSERT_EQ(s.Boxes().size(), 1u);
  EXPECT_EQ(s.Boxes()[0], Question("要删除的区域有非空单元格"));
  EXPECT_EQ(s.ui.screenOnAtBox, std::vector<bool>{false});
  EXPECT_EQ(s.Watched(), Shifted(before, 80, 27, -10));
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(DeleteBlockRows, CancelChangesNothing) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("C80");
  s.ui.QueueAnswer(Answer::Cancel);
  s.Run("-2");
  EXPECT_EQ(s.Boxes().size(), 1u);
  EXPECT_EQ(s.Watched(), before);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(DeleteBlockRows, EmptyRowsGoWithoutAQuestion) {
  FilledSheet s;
  const Area gap = Area::Of(90, 1, 90, 13);
  s.host.ClearContents(s.sheet, gap);
  const Matrix before = s.Watched();
  s.Activate("M90");
  s.Run("-1");
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_EQ(s.Watched(), Shifted(before, 90, 1, -1));
}

TEST(OneRowTools, NeverAskAndIgnoreWhatFollowsTheirSign) {
  for (const std::string code : {"++", "++x", "+++"}) {
    FilledSheet s;
    const Matrix before = s.Watched();
    s.Activate("E65");
    s.Run(code);
    EXPECT_EQ(s.Watched(), Shifted(before, 65, 1, 1)) << code;
    EXPECT_TRUE(s.Boxes().empty()) << code;
  }
  for (const std::string code : {"--", "--9"}) {
    FilledSheet s;
    const Matrix before = s.Watched();
    s.Activate("E65");
    s.Run(code);
    EXPECT_EQ(s.Watched(), Shifted(before, 65, 1, -1)) << code;
    EXPECT_TRUE(s.Boxes().empty()) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

// Counts that are not numbers, and counts below 1, change nothing and ask nothing; "-0" and
// "-0.4" would otherwise name the rows above the active one.
TEST(BlockRowCounts, WithoutAUsableCountNothingHappens) {
  for (const std::string code :
       {"+", "+a", "+3x", "+0", "+-2", "-", "-3b", "-a", "-0", "-0.4", "-  "}) {
    FilledSheet s;
    const Matrix before = s.Watched();
    s.Activate("E65");
    s.Run(code);
    EXPECT_EQ(s.Watched(), before) << code;
    EXPECT_TRUE(s.Boxes().empty()) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

TEST(BlockRowCounts, ASignedCountAfterTheMinusIsStillACount) {
  FilledSheet s;
  const Matrix before = s.Watched();
  s.Activate("E65");
  s.ui.QueueAnswer(Answer::Ok);
  s.Run("-+1");
  EXPECT_EQ(s.Watched(), Shifted(before, 65, 1, -1));
}

TEST(InsertBlockRows, DataInTheBottomRowAsksAndCancelChangesNothing) {
  FilledSheet s;
  s.PutText("G65536", "last");
  const Area bottom = Area::Of(65530, 1, 65536, 42);
  const Matrix before = s.Watched();
  const Matrix bottomBefore = s.Values(bottom);
  s.Activate("E65");
  s.ui.QueueAnswer(Answer::Cancel);
  s.Run("+1");
  ASSERT_EQ(s.Boxes().size(), 1u);
  EXPECT_EQ(s.Boxes()[0], Question("此列块底部存在非空单元格"));
  EXPECT_EQ(s.ui.screenOnAtBox, std::vector<bool>{false});
  EXPECT_EQ(s.Watched(), before);
  EXPECT_EQ(s.Values(bottom), bottomBefore);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(InsertBlockRows, OkOnAFullBottomMeetsTheRefusalAndChangesNothing) {
  FilledSheet s;
  s.PutText("G65536", "last");
  const Area bottom = Area::Of(65530, 1, 65536, 42);
  const Matrix before = s.Watched();
  const Matrix bottomBefore = s.Values(bottom);
  s.Activate("E65");
  s.ui.QueueAnswer(Answer::Ok);
  s.Run("+1");
  EXPECT_EQ(s.Boxes().size(), 1u);  // the question only: the refusal shows nothing
  EXPECT_EQ(s.Watched(), before);
  EXPECT_EQ(s.Values(bottom), bottomBefore);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(InsertBlockRows, BottomDataOutsideTheStripDoesNotAsk) {
  FilledSheet s;
  s.PutText("G65534", "near the end");  // above the last 2 rows
  s.PutText("N65536", "next block");    // outside the 13 columns
  const Matrix before = s.Watched();
  s.Activate("E65");
  s.Run("+2");
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_EQ(s.Watched(), Shifted(before, 65, 1, 2));
  EXPECT_EQ(s.Get("G65536"), Value::Text("near the end"));
  EXPECT_EQ(s.Get("N65536"), Value::Text("next block"));
}

TEST(InsertBlockRows, WideBlocksEditOnlyTheirFirstThirteenColumns) {
  FilledSheet s("+2");  // 26-column blocks
  const Matrix before = s.Watched();
  s.Activate("T70");  // column 20
  s.Run("+2");
  EXPECT_EQ(s.Watched(), Shifted(before, 70, 1, 2));
  for (int32_t r = 51; r <= 120; ++r) {
    for (int32_t c = 14; c <= 26; ++c) EXPECT_EQ(s.Get(r, c), Label(r, c));
  }
}

TEST(DeleteBlockRows, WideBlocksEditOnlyTheirFirstThirteenColumns) {
  FilledSheet s("+3");  // 39-column blocks
  const Matrix before = s.Watched();
  s.Activate("AJ70");  // column 36
  s.ui.QueueAnswer(Answer::Ok);
  s.Run("-4");
  EXPECT_EQ(s.Watched(), Shifted(before, 70, 1, -4));
}

TEST(InsertBlockRows, PartialLastBlockIsRefusedWithoutChange) {
  FilledSheet s;
  s.PutText("IV70", "edge");  // column 256 lies in the block from 248, which has only 9 columns
  const Area edge = Area::Of(60, 240, 80, 256);
  const Matrix before = s.Values(edge);
  s.Activate("IV70");
  s.Run("+1");
  EXPECT_EQ(s.Values(edge), before);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

}  // namespace
}  // namespace tezlo::testing
