#include "memory/cell_shift.h"

#include <utility>
#include <vector>

#include "host/host_error.h"

namespace tezlo {

void InsertCellsShiftDown(Sheet& sheet, const Area& area) {
  sheet.Check(area);
  const auto n = static_cast<int32_t>(area.Rows());
  auto& columns = sheet.ColumnsForMovesAndRemovals();
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
  auto& columns = sheet.ColumnsForMovesAndRemovals();
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

void ShiftFormulaRefs(Workbook& book, int32_t shiftedSheet, const RefShift& shift) {
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    if (sheet.FormulaCountBound() == 0) continue;
    // Read through the const stores, then rewrite the few formulas that change.
    int64_t formulas = 0;
    std::vector<std::pair<Cell, std::string>> rewritten;
    for (const auto& [col, store] : std::as_const(sheet).Columns()) {
      for (ColumnStore::Cursor cur = store.Begin(); cur.Valid(); cur.Next()) {
        if (!cur.Record().HasFormula()) continue;
        ++formulas;
        std::optional<std::string> moved =
            ShiftFormulaRefs(cur.Record().extras->formula, i == shiftedSheet, shift);
        if (moved) rewritten.emplace_back(Cell{cur.Row(), col}, std::move(*moved));
      }
    }
    for (auto& [cell, formula] : rewritten) {
      sheet.Edit(cell, [&](CellRecord& r) { r.Extras().formula = std::move(formula); });
    }
    sheet.SetFormulaCountBound(formulas);
  }
}

}  // namespace tezlo
