// What typing a text into a cell stores, the way the spreadsheet reads typed input.
#pragma once

#include <string>
#include <string_view>

#include "host/value.h"

namespace tezlo {

struct TypedEntry {
  Value value;
  // True when the text began with an apostrophe: the rest is stored as text and the cell
  // remembers the prefix (it shows and saves without it).
  bool quotePrefix = false;
  // A number format the entry gives a General cell ("yyyy/m/d", the zh-CN short date, for
  // "1980-05-01"; "0%" for "5%"; "#,##0" for "1,234"); empty to leave the cell's format alone.
  std::string impliedFormat;
};

// `numberFormat` is the cell's current format: "@" keeps every entry as text.
// "00123" -> 123, "1980-05-01" -> a date, "'0" -> the text 0, "TRUE" -> a boolean,
// "#N/A" -> an error, "" -> empty, anything else -> text.
// Numbers keep 15 significant digits; the digits after the 15th become zeros, as when typed.
// Dates are year-month-day with "-" or "/" (two-digit years 00-29 are 20xx, 30-99 19xx) or
// "1980年5月1日", optionally followed by a time h:mm or h:mm:ss; a time may stand alone. A date
// that does not exist or lies before 1900 stays text.
TypedEntry ParseTypedText(std::string_view text, std::string_view numberFormat);

}  // namespace tezlo
