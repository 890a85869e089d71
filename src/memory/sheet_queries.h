// Worksheet functions and properties that read a sheet: CountA, Match (type 0), UsedRange.
#pragma once

#include <cstdint>

#include "host/cell.h"
#include "host/value.h"
#include "memory/sheet.h"

namespace tezlo {

// Cells holding content in `area` (already checked against the sheet).
int64_t CountContent(const Sheet& sheet, const Area& area);

// The 1-based position in a one-row or one-column `area` of the first value equal to `lookup`:
// numbers (and dates) by value, booleans by value, texts without regard to case with * ? ~
// wildcards. HostError when nothing matches, the area is not one row or one column, or the
// lookup is empty or an error.
int32_t MatchExact(const Sheet& sheet, const Value& lookup, const Area& area);

// From the first to the last row and column holding a stored cell (content, a format or a comment
// of its own); A1 alone on a sheet without any.
Area UsedArea(const Sheet& sheet);

}  // namespace tezlo
