// Cell addresses, areas and selections: 1-based, like the spreadsheet.
#pragma once

#include <cstdint>
#include <vector>

namespace tezlo {

struct Cell {
  int32_t row = 1;
  int32_t col = 1;
  bool operator==(const Cell&) const = default;
};

// A rectangular range from `first` (top-left) to `last` (bottom-right), both inclusive.
struct Area {
  Cell first;
  Cell last;

  static Area Of(Cell c) { return Area{c, c}; }
  static Area Of(int32_t row1, int32_t col1, int32_t row2, int32_t col2) {
    return Area{Cell{row1, col1}, Cell{row2, col2}};
  }
  int64_t Rows() const { return int64_t{last.row} - first.row + 1; }
  int64_t Cols() const { return int64_t{last.col} - first.col + 1; }
  int64_t Count() const { return Rows() * Cols(); }
  bool Contains(Cell c) const {
    return c.row >= first.row && c.row <= last.row && c.col >= first.col && c.col <= last.col;
  }
  bool operator==(const Area&) const = default;
};

// A selection is one or more areas plus the active cell, which need not be the first area's
// first cell.
struct Selection {
  std::vector<Area> areas;
  Cell active;

  int64_t Count() const {
    int64_t n = 0;
    for (const Area& a : areas) n += a.Count();
    return n;
  }
  bool operator==(const Selection&) const = default;
};

// A sheet of one open workbook: both indexes 1-based, as Workbooks(i).Sheets(j).
struct SheetRef {
  int32_t book = 1;
  int32_t sheet = 1;
  bool operator==(const SheetRef&) const = default;
};

// End navigation directions (xlUp, xlDown, xlToLeft, xlToRight).
enum class Direction { Up, Down, ToLeft, ToRight };

}  // namespace tezlo
