// Where the visible rows and columns of a sheet fall on the screen: column positions from the
// sheet's widths, hidden rows and columns skipped, the row-number gutter sized to its numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/cell.h"
#include "memory/sheet.h"

namespace tezlo {

struct ColumnSpan {
  int32_t col = 1;
  int x = 0;
  int width = 0;      // cells on the screen, clipped at the right edge
  bool whole = true;  // false for a column cut off by the screen's edge
};

struct RowSpan {
  int32_t row = 1;
  int y = 0;
};

// A sheet tab on the bottom line: screen columns x to x + width - 1 stand for the sheet.
struct TabSpan {
  int32_t sheet = 1;
  int x = 0;
  int width = 0;
};

struct GridLayout {
  int gutter = 0;  // the row-number column, its separator included
  int top = 0;     // the screen line of the column letters
  std::vector<ColumnSpan> columns;
  std::vector<RowSpan> rows;
  int tabLine = -1;  // the screen line of the sheet tabs
  std::vector<TabSpan> tabs;

  // Columns shown whole, at least 1.
  int32_t WholeColumns() const;
  int32_t Rows() const { return rows.empty() ? 1 : static_cast<int32_t>(rows.size()); }
  // The cell under a screen position, if any.
  std::optional<Cell> CellAt(int x, int y) const;
  // The sheet whose tab is under a screen position, if any.
  std::optional<int32_t> TabAt(int x, int y) const;
  // The span of a visible column or row, nullptr when it is not on the screen.
  const ColumnSpan* FindColumn(int32_t col) const;
  const RowSpan* FindRow(int32_t row) const;
};

// Screen cells for a column width in characters: the width rounded, at least 1; 0 for a hidden
// column.
int ColumnCells(double widthChars);

// Lays out the sheet from `scroll` (the top-left visible cell) into the screen area that starts
// at line `top` (the column letters) and is `lines` lines high (letters included) and `width`
// cells wide.
GridLayout LayoutGrid(const Sheet& sheet, Cell scroll, int width, int top, int lines);

}  // namespace tezlo
