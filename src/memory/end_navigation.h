// Range.End: the jump to the edge of data.
#pragma once

#include "host/cell.h"
#include "memory/sheet.h"

namespace tezlo {

// From a cell holding content whose neighbour in `direction` holds content too: the last cell of
// that unbroken run. Otherwise the nearest cell holding content in that direction, or the
// sheet's first or last row or column when there is none. Costs O(log n) plus the chunks or
// columns it crosses, never the sheet's size. `from` must lie inside the sheet.
Cell EndOf(const Sheet& sheet, Cell from, Direction direction);

}  // namespace tezlo
