// The topic block around the active cell, published in the shared variables.
#pragma once

#include "dispatch/context.h"

namespace tezlo {

// Does nothing unless flowFlag is GoOn. Otherwise finds the column block holding the active cell,
// the topic block's first row (the topic word's row, or the active row when the block's first
// column is filled there; never above firstDataRow in the first column block) and its last row
// across its 13 columns, and sets curRow, curCol, sheetRows, sheetCols, regionTop,
// regionBottom, curRegion, regionBody, regionRows, regionCols, regionLastRow, regionLastCol.
//
// Traps nothing: a failing host call (or a tested cell holding an error value, which cannot be
// read as text) ends it with the variables set so far in place, and the HostError goes to the
// caller.
void ComputeGridState(Context& ctx);

}  // namespace tezlo
