// Text in the package's XML: escaping for writing, and the file format's _xHHHH_ escapes for
// characters XML cannot hold.
#pragma once

#include <string>
#include <string_view>

namespace tezlo {

// Appends `text` escaped for element content (or, with `attribute`, for a quoted attribute).
// Control characters XML cannot carry become _xHHHH_, and a literal "_xHHHH_" in the text keeps
// its underscore as _x005F_ so that it reads back unchanged; a carriage return is written as a
// character reference so that it survives line-end normalisation.
void AppendXmlText(std::string& out, std::string_view text, bool attribute = false);
// Replaces every _xHHHH_ escape by its character (UTF-8).
std::string DecodeEscapes(std::string_view text);

}  // namespace tezlo
