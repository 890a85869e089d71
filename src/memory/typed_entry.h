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
  // A number format the entry gives a General cell ("yyyy-mm-dd" for "1980-05-01", "0%" for
  // "5%"); empty to leave the cell's format alone.
  std::string impliedFormat;
};

// `numberFormat` is the cell's current format: "@" keeps every entry as text.
// "00123" -> 123, "1980-05-01" -> a date, "'0" -> the text 0, "TRUE" -> a boolean,
// "#N/A" -> an error, "" -> empty, anything else -> text.
TypedEntry ParseTypedText(std::string_view text, std::string_view numberFormat);

}  // namespace tezlo
