#include "memory/cell_shift.h"

#include <utility>
#include <vector>

#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/reference_shift.h"

namespace tezlo {

namespace {

// The merged areas after the cells of `band`'s columns from its first row on move down (insert)
// or up (delete) by its row count. A merged area can only move whole: one that the band's
// columns cut, or whose rows the shift would split, makes the spreadsheet refuse the shift
// (HostError, checked before anything moves). An area wholly inside deleted cells goes.
std::vector<Area> MergedAfterShift(const Sheet& sheet, const Area& band, bool insert) {
  const auto n = static_cast<int32_t>(band.Rows());
  std::vector<Area> out;
  out.reserve(sheet.MergedAreas().size());
  for (Area m : sheet.MergedAreas()) {
    const bool besideBand = m.last.col < band.first.col || m.first.col > band.last.col;
    const bool aboveShift = m.last.row < band.first.row;
    if (besideBand || aboveShift) {
      out.push_back(m);
      continue;
    }
    const bool withinColumns = m.first.col >= band.first.col && m.last.col <= band.last.col;
    if (!withinColumns) throw HostError("cannot shift part of a merged cell");
    if (insert) {
      if (m.first.row < band.first.row) throw HostError("cannot shift part of a merged cell");
      if (m.last.row > sheet.Rows() - n)
        throw HostError("cannot shift a merged cell off the sheet");
      m.first.row += n;
      m.last.row += n;
    } else if (m.first.row > band.last.row) {
      m.first.row -= n;
      m.last.row -= n;
    } else if (m.first.row >= band.first.row && m.last.row <= band.last.row) {
      continue;  // deleted with its cells
    } else {
      throw HostError("cannot shift part of a merged cell");
    }
    out.push_back(m);
  }
  return out;
}

// The cells an insertion made in `area` take the format of the cell above each column of it
// (its colour, number format and file style; not its content nor its quote prefix, which
// belongs to what was typed), as the spreadsheet formats inserted cells like those above them.
// Row 1 has none above: its new cells stay unformatted. The new cells hold nothing else, so
// they become one format run per column.
void TakeFormatFromAbove(Sheet& sheet, const Area& area) {
  if (area.first.row == 1) return;
  for (int32_t col = area.first.col; col <= area.last.col; ++col) {
    CellFormat format = sheet.OwnFormat(Cell{area.first.row - 1, col});
    format.quotePrefix = false;
    sheet.SetRunFormat(col, area.first.row, area.last.row, format);
  }
}

GridSize GridOf(const Sheet& sheet) { return GridSize{sheet.Rows(), sheet.Cols()}; }

// The tables and pivot tables after the shift: moved, grown or shrunk whole, gone with all their
// rows. A shift that would cut through one makes the spreadsheet refuse it (HostError, checked
// before anything moves); a pivot table also refuses cells inserted inside it or part of it
// deleted, and so does an array formula.
std::vector<ProtectedArea> ProtectedAfterShift(const Sheet& sheet, const RefShift& shift) {
  // Array formulas move whole with their anchors' records; one the shift would split refuses it.
  CheckArraysShift(sheet, shift);
  std::vector<ProtectedArea> out;
  for (const ProtectedArea& p : sheet.ProtectedAreas()) {
    const bool pivot = p.kind == ProtectedArea::Kind::PivotTable;
    if (pivot ? MovesPartOf(p.area, shift) : CutsThrough(p.area, shift)) {
      throw HostError(std::string("cannot shift part of the ") +
                      (pivot ? "pivot table " : "table ") + p.name);
    }
    if (const std::optional<Area> moved = ShiftRange(p.area, shift)) {
      out.push_back(ProtectedArea{p.kind, p.name, *moved});
    }
  }
  return out;
}

}  // namespace

void InsertCellsShiftDown(Sheet& sheet, const Area& area) {
  sheet.Check(area);
  std::vector<ProtectedArea> tables =
      ProtectedAfterShift(sheet, InsertDownShift(sheet.Name(), GridOf(sheet), area.first.row,
                                                 area.first.col, area.last.row, area.last.col));
  std::vector<Area> merged = MergedAfterShift(sheet, area, true);
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
  const auto& runs = sheet.FormatRuns();
  for (auto it = runs.lower_bound(area.first.col); it != runs.end() && it->first <= area.last.col;
       ++it) {
    if (!it->second.Empty() && it->second.Runs().rbegin()->second.last > sheet.Rows() - n) {
      throw HostError("cannot shift non-empty cells off the sheet");
    }
  }
  for (auto it = begin; it != end; ++it) it->second.ShiftRows(area.first.row, n);
  for (int32_t col = area.first.col; col <= area.last.col; ++col)
    sheet.ShiftRunsDown(col, area.first.row, n);
  sheet.SetMergedAreas(std::move(merged));
  TakeFormatFromAbove(sheet, area);
  sheet.SetProtectedAreas(std::move(tables));
}

void DeleteCellsShiftUp(Sheet& sheet, const Area& area) {
  sheet.Check(area);
  std::vector<ProtectedArea> tables =
      ProtectedAfterShift(sheet, DeleteUpShift(sheet.Name(), GridOf(sheet), area.first.row,
                                               area.first.col, area.last.row, area.last.col));
  std::vector<Area> merged = MergedAfterShift(sheet, area, false);
  const auto n = static_cast<int32_t>(area.Rows());
  auto& columns = sheet.ColumnsForMovesAndRemovals();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    it->second.Extract(area.first.row, area.last.row);
    it->second.ShiftRows(area.last.row + 1, -n);
  }
  sheet.DropEmptyColumns();
  for (int32_t col = area.first.col; col <= area.last.col; ++col) {
    sheet.EraseRunsAndShiftUp(col, area.first.row, area.last.row);
  }
  sheet.SetMergedAreas(std::move(merged));
  sheet.SetProtectedAreas(std::move(tables));
}

void DeleteWholeRows(Sheet& sheet, int32_t first, int32_t last) {
  sheet.CheckRows(first, last);
  std::vector<ProtectedArea> tables =
      ProtectedAfterShift(sheet, DeleteRowsShift(sheet.Name(), GridOf(sheet), first, last));
  sheet.EraseRowsAndShift(first, last);
  sheet.SetProtectedAreas(std::move(tables));
}

void DeleteWholeColumns(Sheet& sheet, int32_t first, int32_t last) {
  sheet.CheckCols(first, last);
  std::vector<ProtectedArea> tables =
      ProtectedAfterShift(sheet, DeleteColumnsShift(sheet.Name(), GridOf(sheet), first, last));
  sheet.EraseColumnsAndShift(first, last);
  sheet.SetProtectedAreas(std::move(tables));
}

void ShiftFormulaRefs(Workbook& book, int32_t shiftedSheet, const RefShift& shift) {
  book.GetSheet(shiftedSheet).NoteShift(shift);
  book.NoteShift(shift);
  RewriteFormulas(book, [&](const std::string& formula, int32_t sheet) {
    return ShiftFormulaRefs(formula, sheet == shiftedSheet, shift);
  });
}

void RewriteFormulas(
    Workbook& book,
    const std::function<std::optional<std::string>(const std::string&, int32_t)>& rewrite) {
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    if (sheet.FormulaCountBound() == 0) continue;
    // Read through the const stores, then rewrite the few formulas that change.
    int64_t formulas = 0;
    std::vector<std::pair<Cell, std::string>> rewritten;
    for (const auto& [col, store] : std::as_const(sheet).Columns()) {
      store.ForEachFormula([&, col = col](int32_t row, const CellRecord& record) {
        ++formulas;
        std::optional<std::string> moved = rewrite(record.extras->formula, i);
        if (moved) rewritten.emplace_back(Cell{row, col}, std::move(*moved));
      });
    }
    for (auto& [cell, formula] : rewritten) {
      sheet.Edit(cell, [&](CellRecord& r) { r.Extras().formula = std::move(formula); });
    }
    sheet.SetFormulaCountBound(formulas);
  }
}

}  // namespace tezlo
