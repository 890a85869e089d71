// Range.Copy Destination:=... between any two sheets.
#pragma once

#include "host/cell.h"
#include "memory/sheet.h"

namespace tezlo {

// The cells of `area` on `from` (values, formulas, formats, comments) replace the same-sized
// range at `destTopLeft` on `to` (which may be `from`, overlapping or not). Cells take their
// formats as they show them: a column's colour or number format travels with the copy. HostError
// when either range leaves its sheet.
void CopyCells(const Sheet& from, const Area& area, Sheet& to, Cell destTopLeft);

}  // namespace tezlo
