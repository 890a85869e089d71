// Trimming a sheet down to the rows and columns that hold data.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tezlo {

// Deletes every row below the last row holding data and every column right of the last column
// holding data, so that the sheet's used range shrinks to its data. The last data row is the
// lowest row that End(xlUp) reaches from the bottom row within the used columns, the last data
// column the rightmost that End(xlToLeft) reaches from the last column within the used rows
// (1 when nothing is found).
//
// Data standing in the sheet's bottom row or last column counts as the last data row or column
// itself: nothing can then be deleted below or right of it, and the step throws HostError before
// it deletes anything in that direction (rows first, then columns), so no data is ever lost.
void TrimSheet(Host& host, SheetRef sheet, int32_t sheetRows, int32_t sheetCols);

}  // namespace tezlo
