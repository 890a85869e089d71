// Cells inserted and deleted with a shift of the cells below, and whole rows and columns deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "host/cell.h"
#include "memory/formula_refs.h"
#include "memory/sheet.h"
#include "memory/workbook.h"

namespace tezlo {

// Range.Insert Shift:=xlDown: the cells of `area`'s columns from its first row on move down by
// its row count, and the new cells take the format of the cell above them (none in row 1).
// HostError, with nothing changed, when a stored cell (content, format or comment) would be
// pushed off the sheet. Costs O(chunks of the area's columns + cells of the area), whatever
// moves.
void InsertCellsShiftDown(Sheet& sheet, const Area& area);

// Range.Delete Shift:=xlUp: the cells of `area` go, those below in its columns move up.
void DeleteCellsShiftUp(Sheet& sheet, const Area& area);

// EntireRow.Delete / EntireColumn.Delete: cells, heights or widths, and column formats move too.
void DeleteWholeRows(Sheet& sheet, int32_t first, int32_t last);
void DeleteWholeColumns(Sheet& sheet, int32_t first, int32_t last);

// After cells of sheet `shiftedSheet` moved (the shift is noted on that sheet for what the file
// layer keeps): the references of every formula of every sheet of
// `book` that point into the moved cells follow them, and those to deleted cells become #REF!.
// Sheets known to hold no formula are passed over, so a workbook without formulas pays nothing.
void ShiftFormulaRefs(Workbook& book, int32_t shiftedSheet, const RefShift& shift);

// Every formula of every sheet of `book` passed to `rewrite(formula, sheetIndex)`, and replaced by
// what it returns when it returns a text. Sheets known to hold no formula are passed over.
void RewriteFormulas(
    Workbook& book,
    const std::function<std::optional<std::string>(const std::string&, int32_t)>& rewrite);

}  // namespace tezlo
