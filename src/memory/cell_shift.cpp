#include "memory/cell_shift.h"

#include "host/host_error.h"

namespace tezlo {

void InsertCellsShiftDown(Sheet& sheet, const Area& area) {
  sheet.Check(area);
  const auto n = static_cast<int32_t>(area.Rows());
  auto& columns = sheet.Columns();
  const auto begin = columns.lower_bound(area.first.col);
  const auto end = columns.upper_bound(area.last.col);
  // Refuse before anything moves.
  for (auto it = begin; it != end; ++it) {
    if (!it->second.Empty() && it->second.LastRow() > sheet.Rows() - n) {
      throw HostError("cannot shift non-empty cells off the sheet");
    }
  }
  for (auto it = begin; it != end; ++it) it->second.ShiftRows(area.first.row, n);
}

void DeleteCellsShiftUp(Sheet& sheet, const Area& area) {
  sheet.Check(area);
  const auto n = static_cast<int32_t>(area.Rows());
  auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    it->second.Extract(area.first.row, area.last.row);
    it->second.ShiftRows(area.last.row + 1, -n);
  }
  sheet.DropEmptyColumns();
}

void DeleteWholeRows(Sheet& sheet, int32_t first, int32_t last) {
  sheet.CheckRows(first, last);
  sheet.EraseRowsAndShift(first, last);
}

void DeleteWholeColumns(Sheet& sheet, int32_t first, int32_t last) {
  sheet.CheckCols(first, last);
  sheet.EraseColumnsAndShift(first, last);
}

}  // namespace tezlo
