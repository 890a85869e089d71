// Range.Copy Destination:=... between any two sheets.
#pragma once

#include "host/cell.h"
#include "memory/formula_refs.h"
#include "memory/sheet.h"

namespace tezlo {

// The cells of `area` on `from` (values, formulas, formats, comments) replace the same-sized
// range at `destTopLeft` on `to` (which may be `from`, overlapping or not). Cells take their
// formats as they show them: a column's colour or number format travels with the copy. HostError
// when either range leaves its sheet. Without `sameStyles` (the sheets belong to workbooks whose
// file formats differ) the copies keep what the engine models of their formats and drop the
// file's format numbers, which mean nothing in the other workbook.
// Formulas read as they do where they land: their relative references move with them, as the
// spreadsheet re-references a copied formula (see MoveRelativeRefs).
void CopyCells(const Sheet& from, const Area& area, Sheet& to, Cell destTopLeft,
               bool sameStyles = true);

// The formula of `record`, if any, re-referenced for a cell `rows` below and `cols` right of it.
void MoveFormulaWithCell(CellRecord& record, int32_t rows, int32_t cols, GridSize grid);

}  // namespace tezlo
