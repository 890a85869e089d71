// Whether a reference read from a formula points into another workbook, whose sheets are not
// this one's to rename or shift.
#pragma once

#include <string_view>

#include "memory/formula_refs.h"

namespace tezlo {

// A reference with a sheet into another workbook: [1]Sheet1!A1 or '[Book.xlsx]Sheet1'!A1.
// `ref` is one of `formula`'s, with a sheet.
bool RefersToOtherWorkbook(std::string_view formula, const FormulaRef& ref);

}  // namespace tezlo
