// Exchanging two picked cells ("*2"), the region rows ("*3") or region columns ("*4") that hold
// them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

const char* const kNotTwo = "所选单元格不是两个";
const char* const kOutside = "所选单元格超出列块范围";

// A topic block in A58:M70 (topic word in A58) with a second one from A80, and a neighbouring
// block N..Z filled on the same rows; every data cell holds where it stood.
struct RegionSheet : BlockSheet {
  RegionSheet() {
    PutText("A58", "topic");
    FillLabels("B58:M70");
    PutText("A80", "next");
    FillLabels("B80:M85");
    FillLabels("N50:Z90");
  }
};

// `before` (a snapshot of `area`) with rows or columns `a` and `b` (sheet numbers) of the columns
// or rows from `from` to `to` exchanged.
Matrix WithRowsExchanged(Matrix before, const Area& area, int32_t a, int32_t b, int32_t from,
                         int32_t to) {
  for (int32_t c = from; c <= to; ++c) {
    std::swap(before.At(a - area.first.row, c - area.first.col),
              before.At(b - area.first.row, c - area.first.col));
  }
  return before;
}

Matrix WithColumnsExchanged(Matrix before, const Area& area, int32_t a, int32_t b, int32_t from,
                            int32_t to) {
  for (int32_t r = from; r <= to; ++r) {
    std::swap(before.At(r - area.first.row, a - area.first.col),
              before.At(r - area.first.row, b - area.first.col));
  }
  return before;
}

TEST(SwapTwoCells, ExchangesTheValuesAnywhereOnTheSheet) {
  BlockSheet s;
  s.PutNumber("A1", 5);
  s.PutText("C7", "ab");
  s.PickTwo("A1", "C7");
  s.Run("*2");
  EXPECT_EQ(s.Get("A1"), Value::Text("ab"));
  EXPECT_EQ(s.Get("C7"), Value::Number(5));
  EXPECT_TRUE(s.Boxes().empty());
}

TEST(SwapTwoCells, AFormulaGivesWayToTheValueItShowed) {
  BlockSheet s;
  s.host.SetFormula(s.sheet, At("A1"), "=2+3", Value::Number(5));
  s.PutText("Q300", "far");
  s.host.AddComment(s.sheet, At("A1"), "stays");
  s.PickTwo("A1", "Q300");
  s.Run("*2");
  EXPECT_EQ(s.Get("A1"), Value::Text("far"));
  EXPECT_FALSE(s.host.HasFormula(s.sheet, At("A1")));
  EXPECT_EQ(s.Get("Q300"), Value::Number(5));
  EXPECT_FALSE(s.host.HasFormula(s.sheet, At("Q300")));
  EXPECT_EQ(s.host.CommentText(s.sheet, At("A1")), "stays");
  EXPECT_FALSE(s.host.HasComment(s.sheet, At("Q300")));
}

TEST(SwapTools, OneOrThreeCellsShowTheNoticeAndChangeNothing) {
  for (const std::string code : {"*2", "*3", "*4"}) {
    RegionSheet s;
    const Matrix before = s.Values("A50:Z90");
    s.Activate("C60");
    s.Run(code);
    s.host.Select(Selection{{Range("C60:C61"), Area::Of(At("E64"))}, At("E64")});
    s.Run(code);
    EXPECT_EQ(s.Boxes(), (std::vector<MessageBoxRequest>{Notice(kNotTwo), Notice(kNotTwo)}))
        << code;
    EXPECT_EQ(s.Values("A50:Z90"), before) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

TEST(SwapTools, TwoNeighbouringCellsMarkedAsOneAreaChangeNothingSilently) {
  for (const std::string code : {"*2", "*3", "*4"}) {
    RegionSheet s;
    const Matrix before = s.Values("A50:Z90");
    s.host.Select(Selection{{Range("C60:C61")}, At("C60")});
    s.Run(code);
    EXPECT_TRUE(s.Boxes().empty()) << code;
    EXPECT_EQ(s.Values("A50:Z90"), before) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

TEST(SwapRegionRows, ExchangesColumnsTwoToThirteenOfTheTwoRows) {
  RegionSheet s;
  const Area watched = Range("A50:Z90");
  const Matrix before = s.Values(watched);
  s.PickTwo("D60", "K64");
  s.Run("*3");
  EXPECT_EQ(s.Values(watched), WithRowsExchanged(before, watched, 60, 64, 2, 13));
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(SwapRegionRows, APickInTheFirstColumnIsAllowed) {
  RegionSheet s;
  const Area watched = Range("A50:Z90");
  const Matrix before = s.Values(watched);
  s.PickTwo("A62", "M58");
  s.Run("*3");
  EXPECT_EQ(s.Values(watched), WithRowsExchanged(before, watched, 58, 62, 2, 13));
  EXPECT_EQ(s.Get("A58"), Value::Text("topic"));
}

TEST(SwapRegionRows, TheSameRowTwiceChangesNothing) {
  RegionSheet s;
  const Matrix before = s.Values("A50:Z90");
  s.PickTwo("C61", "H61");
  s.Run("*3");
  EXPECT_EQ(s.Values("A50:Z90"), before);
}

TEST(SwapRegionRows, APickBelowTheRegionShowsTheNoticeAndChangesNothing) {
  RegionSheet s;
  const Matrix before = s.Values("A50:Z90");
  s.PickTwo("C71", "C60");  // the region ends in row 70
  s.Run("*3");
  ASSERT_EQ(s.Boxes(), std::vector<MessageBoxRequest>{Notice(kOutside)});
  EXPECT_EQ(s.ui.screenOnAtBox, std::vector<bool>{false});
  EXPECT_EQ(s.Values("A50:Z90"), before);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(SwapRegionColumns, APickInTheNextBlockOrAboveTheRegionIsOutside) {
  for (const auto& [first, second] : {std::pair{"N60", "C60"}, std::pair{"C57", "C60"}}) {
    RegionSheet s;
    const Matrix before = s.Values("A50:Z90");
    s.PickTwo(first, second);
    s.Run("*4");
    EXPECT_EQ(s.Boxes(), std::vector<MessageBoxRequest>{Notice(kOutside)}) << first;
    EXPECT_EQ(s.Values("A50:Z90"), before) << first;
  }
}

TEST(SwapRegionColumns, ExchangesTheTwoColumnsOverTheRegionRowsOnly) {
  // A block that begins in column AA, in rows 30 to 44.
  BlockSheet s;
  s.PutText("AA30", "topic");
  s.FillLabels("AB30:AM44");
  s.FillLabels("AB46:AM50");  // below the region, after a blank row
  s.PutText("AA46", "next");
  s.FillLabels("N20:Z60");
  const Area watched = Range("N20:AZ60");
  const Matrix before = s.Values(watched);
  s.PickTwo("AD33", "AK41");
  s.Run("*4");
  EXPECT_EQ(s.Values(watched), WithColumnsExchanged(before, watched, 30, 37, 30, 44));
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(SwapRegionColumns, TheFirstColumnCanBeExchangedToo) {
  RegionSheet s;
  const Area watched = Range("A50:Z90");
  const Matrix before = s.Values(watched);
  s.PickTwo("A66", "F59");
  s.Run("*4");
  EXPECT_EQ(s.Values(watched), WithColumnsExchanged(before, watched, 1, 6, 58, 70));
}

TEST(SwapRegionColumns, ASingleRowRegionExchangesSingleCells) {
  BlockSheet s;
  s.PutText("A100", "topic");
  s.PutText("C100", "left");
  s.PutNumber("H100", 8);
  s.PickTwo("C100", "H100");
  s.Run("*4");
  EXPECT_EQ(s.Get("C100"), Value::Number(8));
  EXPECT_EQ(s.Get("H100"), Value::Text("left"));
}

}  // namespace
}  // namespace tezlo::testing
