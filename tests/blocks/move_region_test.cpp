// Moving the current region behind the last region of the sheet ("*16").

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

// The source: a 20-row topic block A60:M79 with the next one from A100, and cells of the second
// column block (N..Z) on the same rows, which must not move.
struct MoveSheet : BlockSheet {
  explicit MoveSheet(const std::string& name = "+1") : BlockSheet(name) {
    PutText("A60", "source");
    FillLabels("B60:M79");
    PutText("A100", "next");
    FillLabels("B100:M110");
    FillLabels("N55:Z85");
  }
  // The last region of the sheet: topic word in `top`, ten rows of data below it and a last row
  // of data in `lastRow`.
  void LastRegion(int32_t col, int32_t top, int32_t lastRow) {
    host.SetValue(sheet, Cell{top, col}, Value::Text("last"));
    FillLabels(Area::Of(top + 1, col + 1, top + 10, col + 12));
    FillLabels(Area::Of(lastRow, col + 1, lastRow, col + 12));
  }
  void FillLabels(const Area& area) { BlockSheet::FillLabels(AreaText(area)); }
  using BlockSheet::FillLabels;
  static std::string AreaText(const Area& area) {
    return ColumnName(area.first.col) + std::to_string(area.first.row) + ":" +
           ColumnName(area.last.col) + std::to_string(area.last.row);
  }
  static std::string ColumnName(int32_t col) {
    std::string name;
    for (; col > 0; col = (col - 1) / 26)
      name.insert(name.begin(), static_cast<char>('A' + (col - 1) % 26));
    return name;
  }
};

// Rows `from`.. of the 13 columns from `col` in `after` equal rows `from + shift`.. in `before`
// (both snapshots of the same area starting in row `top`), up to `to`.
void ExpectRowsMovedUp(const Matrix& before, const Matrix& after, int32_t top, int32_t from,
                       int32_t to, int32_t shift) {
  for (int32_t r = from; r <= to; ++r) {
    for (int32_t c = 0; c < 13; ++c) {
      const int32_t source = r + shift - top;
      const Value expected = source < before.Rows() ? before.At(source, c) : Value();
      EXPECT_EQ(after.At(r - top, c), expected) << "row " << r << " column " << c + 1;
    }
  }
}

TEST(MoveRegionToEnd, AppendsTenRowsBelowTheLastRegionOfTheLastBlock) {
  MoveSheet s;
  s.LastRegion(27, 300, 400);  // AA300, data to AM400
  const Matrix source = s.Values("A60:M79");
  const Matrix firstBlock = s.Values("A1:M200");
  const Matrix secondBlock = s.Values("N1:Z200");
  const Matrix lastRegion = s.Values("AA300:AM400");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("AA430:AM449"), source);
  EXPECT_EQ(s.Values("AA401:AM429"), Matrix(29, 13));
  EXPECT_EQ(s.Values("AA450:AM470"), Matrix(21, 13));
  EXPECT_EQ(s.Values("AA300:AM400"), lastRegion);
  ExpectRowsMovedUp(firstBlock, s.Values("A1:M200"), 1, 1, 59, 0);
  ExpectRowsMovedUp(firstBlock, s.Values("A1:M200"), 1, 60, 200, 20);
  EXPECT_EQ(s.Values("N1:Z200"), secondBlock);
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(MoveRegionToEnd, ANearlyFullBlockSendsTheCopyToTheTopOfTheNextBlock) {
  MoveSheet s;
  s.LastRegion(27, 300, 65380);  // 20 + 65380 + 10 = 65410 > 65536 - 150
  const Matrix source = s.Values("A60:M79");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("AN1:AZ20"), source);
  EXPECT_EQ(s.Values("AN21:AZ30"), Matrix(10, 13));
  EXPECT_EQ(s.Get("A60"), Value());  // A80 was empty
  EXPECT_EQ(s.Get("A80"), Value::Text("next"));
}

TEST(MoveRegionToEnd, TheLastRegionItselfEndsTenRowsBelowItsFormerEnd) {
  BlockSheet s;
  s.PutText("A100", "topic");
  s.FillLabels("B100:M119");
  const Matrix source = s.Values("A100:M119");
  s.Activate("E110");
  s.Run("*16");
  EXPECT_EQ(s.Values("A129:M148"), source);
  EXPECT_EQ(s.Values("A100:M128"), Matrix(29, 13));
  EXPECT_EQ(s.Values("A149:M170"), Matrix(22, 13));
}

TEST(MoveRegionToEnd, FormulasArriveAsTheirValues) {
  BlockSheet s;
  s.PutText("A100", "topic");
  s.host.SetFormula(s.sheet, At("C101"), "=6*7", Value::Number(42));
  s.PutText("D102", "plain");
  s.Activate("C101");
  s.Run("*16");
  // The region is rows 100 to 102: the copy goes to 115, and lands in 112 after the deletion.
  EXPECT_EQ(s.Get("A112"), Value::Text("topic"));
  EXPECT_EQ(s.Get("C113"), Value::Number(42));
  EXPECT_FALSE(s.host.HasFormula(s.sheet, At("C113")));
  EXPECT_EQ(s.Get("D114"), Value::Text("plain"));
}

TEST(MoveRegionToEnd, OnWideBlocksTheCopyIsThirteenColumnsWide) {
  MoveSheet s("+2");  // blocks of 26 columns: A..Z, AA..AZ, ...
  s.LastRegion(27, 300, 400);
  s.FillLabels("AN420:AZ460");  // the right half of the last block, beside the target
  const Matrix source = s.Values("A60:M79");
  const Matrix rightHalf = s.Values("AN420:AZ460");
  const Matrix secondHalf = s.Values("N55:Z85");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("AA430:AM449"), source);
  EXPECT_EQ(s.Values("AN420:AZ460"), rightHalf);
  EXPECT_EQ(s.Values("N55:Z85"), secondHalf);
  EXPECT_EQ(s.Get("A80"), Value::Text("next"));
}

TEST(MoveRegionToEnd, ATargetPastTheLastColumnLeavesTheRegionButTrimsTheSheet) {
  // The last used block starts in column 248 and has only 9 of its 13 columns on the sheet.
  MoveSheet s;
  s.PutText("IN300", "last");
  s.FillLabels("IO301:IS310");
  s.host.SetColorIndex(s.sheet, Area::Of(5000, 1, 5000, 1), 6);  // a format below the data
  const Matrix before = s.Values("A1:Z200");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("A1:Z200"), before);
  EXPECT_EQ(s.Get("IN300"), Value::Text("last"));
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{5000, 1}), 0);
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(MoveRegionToEnd, AnOverflowIntoAPartialBlockWritesNothing) {
  // The last whole block (columns 235 to 247 of 256) is nearly full, and the next block would
  // run past column 256.
  MoveSheet s;
  s.LastRegion(235, 300, 65380);
  const Matrix before = s.Values("A1:Z200");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("A1:Z200"), before);
  EXPECT_EQ(s.Values(Area::Of(1, 248, 30, 256)), Matrix(30, 9));
}

TEST(MoveRegionToEnd, DataInTheLastRowStopsBeforeAnythingMoves) {
  // The trimming cannot finish, so the last used column is unknown; the one an earlier slimming
  // found is not used either.
  MoveSheet s;
  s.LastRegion(27, 300, 400);
  s.Run("999");
  ASSERT_EQ(s.ctx.usedLastCol, 39);
  s.PutText("AB65536", "bottom");
  const Matrix before = s.Values("A1:AM500");
  s.Activate("C65");
  s.Run("*16");
  EXPECT_EQ(s.Values("A1:AM500"), before);
  EXPECT_EQ(s.Get("AB65536"), Value::Text("bottom"));
}

TEST(MoveRegionToEnd, ARegionTooTallForItsRowCountChangesNothing) {
  BlockSheet s;
  s.PutText("A51", "tall");
  s.PutText("M40000", "far down");  // 39,950 rows: more than 32,767
  s.host.SetColorIndex(s.sheet, Area::Of(50000, 1, 50000, 1), 6);
  s.Activate("B60");
  s.Run("*16");
  EXPECT_EQ(s.Get("A51"), Value::Text("tall"));
  EXPECT_EQ(s.Get("M40000"), Value::Text("far down"));
  EXPECT_EQ(s.host.ColorIndex(s.sheet, Cell{50000, 1}), 6);  // not even trimmed
  EXPECT_TRUE(s.host.ScreenUpdating());
}

}  // namespace
}  // namespace tezlo::testing
