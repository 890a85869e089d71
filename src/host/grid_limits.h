// The grid every workbook's sheets have at most (Excel 2007 and later), and the width of a
// column block, the unit the tools edit in.
#pragma once

#include <cstdint>

namespace tezlo {

inline constexpr int32_t kGridRows = 1048576;
inline constexpr int32_t kGridCols = 16384;
// Columns of one column block: the topic's column and the twelve beside it.
inline constexpr int32_t kBlockWidth = 13;

// The grid a sheet has, and an address or reference must fit ("XFE1" is a name, not a cell, on a
// 16384-column sheet; "IW1" is a name on a 256-column one).
struct GridSize {
  int32_t rows = kGridRows;
  int32_t cols = kGridCols;
};

}  // namespace tezlo
