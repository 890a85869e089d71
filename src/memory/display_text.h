// The text a cell shows for its value in its number format (Range.Text).
#pragma once

#include <string>
#include <string_view>

#include "host/value.h"

namespace tezlo {

// The General format as a cell of standard width shows a value: numbers with at most 11
// characters (then rounded, or in E notation: 1.10105E+17), booleans "TRUE"/"FALSE", errors by
// their text, dates as their serial number.
std::string GeneralText(const Value& value);

// The value shown in `numberFormat`: "General", "@", "0", "0.00", "0%", and the date formats
// built of y, m, d, h, s with - / . : separators ("yyyy-mm-dd", "yyyy/m/d", "m/d/yyyy", ...).
// Formats it does not know fall back to General.
std::string DisplayText(const Value& value, std::string_view numberFormat);

// Civil date <-> serial in the 1900 date system (serial 60 is the non-existent 1900-02-29, as
// the spreadsheet keeps it).
double DateToSerial(int year, int month, int day);
void SerialToDate(double serial, int& year, int& month, int& day);

}  // namespace tezlo
