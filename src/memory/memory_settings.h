// What a new workbook of the in-memory host is made of, and the window it is shown in.
#pragma once

#include <cstdint>

#include "host/grid_limits.h"

namespace tezlo {

struct MemorySettings {
  int32_t rows = kGridRows;         // rows of every sheet of a workbook added afterwards
  int32_t cols = kGridCols;         // columns of every sheet of a workbook added afterwards
  int32_t sheetsInNewWorkbook = 3;  // Sheet1..SheetN in a new workbook
  int32_t maxDigitWidthPx = 7;      // default font's widest digit, pixels at 96 dpi
  int32_t visibleRows = 40;         // rows the window shows
  int32_t visibleCols = 16;         // columns the window shows
};

}  // namespace tezlo
