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

// A run of digits with a comma before every group of three from the right ("9980" -> "9,980").
std::string GroupThousands(const std::string& digits);

// Civil date <-> serial in the 1900 date system (serial 60 is the non-existent 1900-02-29, as
// the spreadsheet keeps it). Dates run from 1900-01-01 (serial 1) to 9999-12-31 (2958465).
// DateToSerial: HostError for a date outside that range or one that does not exist.
double DateToSerial(int year, int month, int day);
// The date part of a serial (its time of day is dropped); serial 0 is the spreadsheet's
// 1900-01-00. HostError for a serial below 0 or after 9999-12-31.
void SerialToDate(double serial, int& year, int& month, int& day);
// True for the dates DateToSerial accepts, 1900-02-29 included.
bool IsValidCalendarDate(int year, int month, int day);

}  // namespace tezlo
