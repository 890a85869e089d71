// Cell values between the port and Calc: Calc keeps numbers, texts and formula errors; dates and
// booleans are numbers shown in a date or boolean format.
#pragma once

#include <cstdint>

#include <com/sun/star/uno/Any.hxx>

#include "calc/calc_number_formats.h"
#include "host/value.h"

namespace tezlo {

// Calc's error code of a formula (XCell::getError) as the spreadsheet's error value.
ErrorCode ErrorOfCalcCode(int32_t code);

// One element of getDataArray (a double, a text, or void for an error whose code `error` gives)
// with the kind of the cell's number format. An empty text is an empty cell.
Value ValueOfData(const css::uno::Any& data, FormatKind kind, int32_t error);

}  // namespace tezlo
