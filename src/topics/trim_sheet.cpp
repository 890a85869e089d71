#include "topics/trim_sheet.h"

#include <algorithm>

#include "host/host_error.h"

namespace tezlo {
namespace {

struct DataExtent {
  int32_t lastRow = 1;
  int32_t lastCol = 1;
};

// One pass over the used columns instead of one End jump per bottom-row cell and one per
// last-column cell: a column's last data row is where End(xlUp) lands from its bottom cell, and
// the rightmost column holding anything within the used rows is the furthest End(xlToLeft) could
// reach from the last column. Content only ever lies inside the used range, so both loops give
// exactly these values, at a cost set by the used columns rather than the used rows.
DataExtent FindDataExtent(Host& host, SheetRef sheet, int32_t sheetRows, int32_t usedCols) {
  DataExtent extent;
  for (int32_t col = 1; col <= usedCols; ++col) {
    const bool bottomFilled = !host.GetValue(sheet, Cell{sheetRows, col}).IsEmpty();
    const int32_t lastRow =
        bottomFilled ? sheetRows : host.End(sheet, Cell{sheetRows, col}, Direction::Up).row;
    extent.lastRow = std::max(extent.lastRow, lastRow);
    const bool holdsData =
        lastRow > 1 || bottomFilled || !host.GetValue(sheet, Cell{1, col}).IsEmpty();
    if (holdsData) extent.lastCol = std::max(extent.lastCol, col);
  }
  return extent;
}

}  // namespace

void TrimSheet(Host& host, SheetRef sheet, int32_t sheetRows, int32_t sheetCols) {
  const Area used = host.UsedRange(sheet);
  const int32_t usedCols = std::min(used.last.col, sheetCols);
  const DataExtent extent = FindDataExtent(host, sheet, sheetRows, usedCols);

  if (extent.lastRow >= sheetRows)
    throw HostError("The bottom row holds data: no row to delete below it");
  host.DeleteRows(sheet, extent.lastRow + 1, sheetRows);

  if (extent.lastCol >= sheetCols)
    throw HostError("The last column holds data: no column to delete right of it");
  host.DeleteColumns(sheet, extent.lastCol + 1, sheetCols);
}

}  // namespace tezlo
