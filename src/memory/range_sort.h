// Range.Sort by one key column without header.
#pragma once

#include <cstdint>

#include "host/cell.h"
#include "memory/sheet.h"

namespace tezlo {

// Reorders the rows of `area` (each row's cells of the area move together: values, formulas,
// formats, comments) by the values in `keyColumn`, ascending or descending in the order of
// CompareForSort, rows with an empty key last in both directions, equal keys in their present
// order. HostError when the key column lies outside the area. Costs O(k log k) in the cells
// present in the area, whatever its size. A moved formula reads as if copied to its new row: its
// relative references move by as many rows (those to cells outside the area too), as Excel does.
void SortRows(Sheet& sheet, const Area& area, int32_t keyColumn, bool descending);

}  // namespace tezlo
