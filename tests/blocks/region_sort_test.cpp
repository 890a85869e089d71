// Sorting the region's columns 2 to 13 by the active cell's column ("*5", "*6") and selecting the
// whole region ("*9").

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

// Keys of column D for rows 60 to 70.
const std::vector<double> kKeys = {5, 3, 9, 1, 7, 11, 2, 8, 4, 10, 6};

// A topic block A60:M70 whose column D holds kKeys and the other data columns where they stood,
// a neighbouring block N..Z on the same rows, and the next topic block from A75.
struct SortSheet : BlockSheet {
  SortSheet() {
    PutText("A60", "topic");
    FillLabels("B60:M70");
    for (int32_t i = 0; i < 11; ++i)
      host.SetValue(sheet, Cell{60 + i, 4}, Value::Number(kKeys[static_cast<size_t>(i)]));
    FillLabels("N55:Z80");
    PutText("A75", "next");
    FillLabels("B75:M78");
  }
};

// The sheet before, with rows 60 to 70 of columns B..M in the order of `rows` (sheet rows).
Matrix Reordered(const Matrix& before, const Area& watched, const std::vector<int32_t>& rows) {
  Matrix expected = before;
  for (size_t i = 0; i < rows.size(); ++i) {
    for (int32_t c = 2; c <= 13; ++c) {
      expected.At(60 + static_cast<int32_t>(i) - watched.first.row, c - 1) =
          before.At(rows[i] - watched.first.row, c - 1);
    }
  }
  return expected;
}

std::vector<int32_t> RowsByKey(bool descending) {
  std::vector<int32_t> rows(kKeys.size());
  std::iota(rows.begin(), rows.end(), 60);
  auto key = [](int32_t row) { return kKeys[static_cast<size_t>(row - 60)]; };
  std::sort(rows.begin(), rows.end(),
            [&](int32_t a, int32_t b) { return descending ? key(a) > key(b) : key(a) < key(b); });
  return rows;
}

const Area kWatched = Area::Of(50, 1, 90, 30);

TEST(SortRegion, AscendingReordersTheDataColumnsAndLeavesTheFirstColumn) {
  SortSheet s;
  const Matrix before = s.Values(kWatched);
  s.Activate("D66");
  s.Run("*5");
  EXPECT_EQ(s.Values(kWatched), Reordered(before, kWatched, RowsByKey(false)));
  EXPECT_EQ(s.Get("A60"), Value::Text("topic"));
  EXPECT_EQ(s.Get("D60"), Value::Number(1));
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(SortRegion, DescendingGivesTheReverseOrder) {
  SortSheet s;
  const Matrix before = s.Values(kWatched);
  s.Activate("D61");
  s.Run("*6");
  EXPECT_EQ(s.Values(kWatched), Reordered(before, kWatched, RowsByKey(true)));
  EXPECT_EQ(s.Get("D60"), Value::Number(11));
}

TEST(SortRegion, AnActiveCellInTheFirstColumnChangesNothing) {
  for (const std::string code : {"*5", "*6"}) {
    SortSheet s;
    const Matrix before = s.Values(kWatched);
    s.Activate("A66");
    s.Run(code);
    EXPECT_EQ(s.Values(kWatched), before) << code;
    EXPECT_TRUE(s.Boxes().empty()) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

TEST(SelectRegion, SelectsTheThirteenColumnsFromFirstToLastRow) {
  SortSheet s;
  s.Activate("H66");
  s.Run("*9");
  const Selection selection = s.host.GetSelection();
  EXPECT_EQ(selection.areas, std::vector<Area>{Range("A60:M70")});
  EXPECT_EQ(selection.active, At("A60"));
}

TEST(SelectRegion, OnWideBlocksTheRegionIsStillThirteenColumns) {
  BlockSheet s("+2");
  s.PutText("AA60", "topic");
  s.FillLabels("AB61:AM64");
  s.FillLabels("AN60:AZ70");  // the block's second half is not part of the region
  s.Activate("AT62");
  s.Run("*9");
  EXPECT_EQ(s.host.GetSelection().areas, std::vector<Area>{Range("AA60:AM64")});
}

}  // namespace
}  // namespace tezlo::testing
