// The format of a cell that holds nothing else: what a CellRecord holds besides its content,
// small and cheap to compare, so that a sheet keeps such cells as runs of rows (see Sheet's
// format runs) instead of one record each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "memory/cell_record.h"

namespace tezlo {

// The one copy of a number format text that every format run shares, kept for the life of the
// program (a workbook uses a few dozen formats). Thread-safe.
const std::string* InternNumberFormat(std::string_view format);

struct CellFormat {
  const std::string* numberFormat = nullptr;  // interned; nullptr: the column's
  uint32_t style = 0;                         // the file's cell format (CellRecord::style)
  uint8_t colorIndex = kInheritColor;         // own colour, or the column's
  bool quotePrefix = false;

  bool operator==(const CellFormat&) const = default;
  // Nothing of its own: the cell shows its column's format.
  bool Plain() const {
    return numberFormat == nullptr && style == 0 && colorIndex == kInheritColor && !quotePrefix;
  }
};

// The format part of a record, and a record given a format (its content left as it is).
CellFormat FormatOf(const CellRecord& record);
void ApplyFormat(CellRecord& record, const CellFormat& format);

}  // namespace tezlo
