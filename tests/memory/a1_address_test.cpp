// A1 addresses read and written in one place: random cells and areas come back as written, and
// random short texts are read exactly as the formula grammar (an independent reader of the same
// references) reads a lone reference, whole columns and rows included.
#include "host/a1_address.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "memory/formula_refs.h"

namespace tezlo {
namespace {

// A lone reference as the formula grammar reads it, spanning the grid for whole lines.
std::optional<Area> ByFormulaGrammar(std::string_view text, GridSize grid) {
  const std::vector<FormulaRef> refs = FindFormulaRefs(text, grid);
  if (refs.size() != 1) return std::nullopt;
  const FormulaRef& ref = refs.front();
  if (ref.sheet || ref.begin != 0 || ref.end != text.size()) return std::nullopt;
  const int32_t row1 = std::min(ref.first.row, ref.last.row);
  const int32_t row2 = std::max(ref.first.row, ref.last.row);
  const int32_t col1 = std::min(ref.first.col, ref.last.col);
  const int32_t col2 = std::max(ref.first.col, ref.last.col);
  switch (ref.kind) {
    case FormulaRef::Kind::Cell:
    case FormulaRef::Kind::Area: return Area::Of(row1, col1, row2, col2);
    case FormulaRef::Kind::Columns: return Area::Of(1, col1, grid.rows, col2);
    case FormulaRef::Kind::Rows: return Area::Of(row1, 1, row2, grid.cols);
  }
  return std::nullopt;
}

TEST(A1Address, WrittenAddressesReadBackAndTextsReadAsFormulasReadThem) {
  std::mt19937 rng(41);
  auto pick = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  for (int i = 0; i < 20000; ++i) {
    const Cell a{pick(1, kGridRows), pick(1, kGridCols)};
    const Cell b{pick(1, kGridRows), pick(1, kGridCols)};
    EXPECT_EQ(ParseCellRef(CellRefText(a)), a);
    const Area area = Area::Of(std::min(a.row, b.row), std::min(a.col, b.col),
                               std::max(a.row, b.row), std::max(a.col, b.col));
    EXPECT_EQ(ParseAreaRef(AreaRefText(area)), area);
    EXPECT_EQ(ParseAreaAddress(AreaRefText(area)), area);
  }
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(16384), "XFD");
  EXPECT_EQ(ParseCellRef("$xfd$1048576"), (Cell{1048576, 16384}));
  EXPECT_FALSE(ParseCellRef("XFE1"));
  EXPECT_FALSE(ParseCellRef("A1048577"));
  EXPECT_FALSE(ParseCellRef("IW1", GridSize{65536, 256}));

  // Short texts over the characters addresses are made of, on the full grid and a small one.
  const std::string alphabet = "AbCxXfFdD$:0123456789";
  int read = 0;
  for (const GridSize grid : {GridSize{}, GridSize{65536, 256}}) {
    for (int i = 0; i < 200000; ++i) {
      std::string text;
      const int length = pick(1, 9);
      for (int k = 0; k < length; ++k)
        text += alphabet[static_cast<size_t>(pick(0, static_cast<int32_t>(alphabet.size()) - 1))];
      const std::optional<Area> area = ParseAreaAddress(text, grid);
      ASSERT_EQ(area, ByFormulaGrammar(text, grid)) << text;
      read += area ? 1 : 0;
    }
  }
  EXPECT_GT(read, 20000);  // addresses of every kind were among them
}

}  // namespace
}  // namespace tezlo
