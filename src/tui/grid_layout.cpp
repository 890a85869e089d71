#include "tui/grid_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tezlo {

int32_t GridLayout::WholeColumns() const {
  const auto n =
      std::count_if(columns.begin(), columns.end(), [](const ColumnSpan& c) { return c.whole; });
  return std::max<int32_t>(1, static_cast<int32_t>(n));
}

std::optional<Cell> GridLayout::CellAt(int x, int y) const {
  const auto row =
      std::find_if(rows.begin(), rows.end(), [&](const RowSpan& r) { return r.y == y; });
  const auto col = std::find_if(columns.begin(), columns.end(),
                                [&](const ColumnSpan& c) { return x >= c.x && x < c.x + c.width; });
  if (row == rows.end() || col == columns.end()) return std::nullopt;
  return Cell{row->row, col->col};
}

const ColumnSpan* GridLayout::FindColumn(int32_t col) const {
  for (const ColumnSpan& c : columns)
    if (c.col == col) return &c;
  return nullptr;
}

const RowSpan* GridLayout::FindRow(int32_t row) const {
  for (const RowSpan& r : rows)
    if (r.row == row) return &r;
  return nullptr;
}

int ColumnCells(double widthChars) {
  if (!(widthChars > 0)) return 0;
  return std::max(1, static_cast<int>(std::lround(widthChars)));
}

GridLayout LayoutGrid(const Sheet& sheet, Cell scroll, int width, int top, int lines) {
  GridLayout layout;
  layout.top = top;
  for (int32_t row = std::max(scroll.row, 1), y = top + 1; y < top + lines && row <= sheet.Rows();
       ++row) {
    if (sheet.RowHeight(row) <= 0) continue;
    layout.rows.push_back(RowSpan{row, y++});
  }
  const int32_t lastRow = layout.rows.empty() ? scroll.row : layout.rows.back().row;
  layout.gutter = std::max<int>(3, static_cast<int>(std::to_string(lastRow).size())) + 1;
  int x = layout.gutter;
  for (int32_t col = std::max(scroll.col, 1); x < width && col <= sheet.Cols(); ++col) {
    const int cells = ColumnCells(sheet.ColumnWidth(col));
    if (cells == 0) continue;
    const int shown = std::min(cells, width - x);
    layout.columns.push_back(ColumnSpan{col, x, shown, shown == cells});
    x += shown;
  }
  return layout;
}

std::optional<int32_t> GridLayout::TabAt(int x, int y) const {
  if (y != tabLine) return std::nullopt;
  for (const TabSpan& t : tabs) {
    if (x >= t.x && x < t.x + t.width) return t.sheet;
  }
  return std::nullopt;
}

}  // namespace tezlo
