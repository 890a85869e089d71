// Where a column-block tool works: the first column of the block under a cell, and the 13 columns
// every block tool edits from there, whatever the block's width.
#pragma once

#include <cstdint>

#include "dispatch/checked_math.h"
#include "dispatch/conversions.h"
#include "host/cell.h"
#include "host/grid_limits.h"

namespace tezlo::blocks {

// The tools edit this many columns from the block's first column, also on sheets whose blocks are
// 26 or 39 columns wide.
inline constexpr int32_t kEditWidth = kBlockWidth;

// The first column of the column block holding `col`: Int((col - 1) / width) * width + 1. A width
// of 0 is a failed division, as on a sheet the preparation did not recognise.
inline int32_t BlockStartColumn(int32_t col, int32_t blockWidth) {
  return CheckedInt32(FloorDiv(col - int64_t{1}, blockWidth) * blockWidth + 1);
}

// `count` rows from `firstRow` over the 13 edited columns from `blockCol`.
inline Area EditRows(int32_t firstRow, int32_t count, int32_t blockCol) {
  return Area::Of(firstRow, blockCol, static_cast<int32_t>(int64_t{firstRow} + count - 1),
                  blockCol + kEditWidth - 1);
}

}  // namespace tezlo::blocks
