// Text in the package's XML: escaping for writing, and the file format's _xHHHH_ escapes for
// characters XML cannot hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

// Appends `text` escaped for element content (or, with `attribute`, for a quoted attribute).
// Control characters XML cannot carry (and U+FFFE, U+FFFF) become _xHHHH_, and a literal
// "_xHHHH_" in the text keeps its underscore as _x005F_ so that it reads back unchanged; a
// carriage return is written as a character reference so that it survives line-end
// normalisation. Bytes that are not well-formed UTF-8 are written as U+FFFD: whatever the text,
// the XML is well-formed.
void AppendXmlText(std::string& out, std::string_view text, bool attribute = false);
// Replaces every _xHHHH_ escape by its character (UTF-8). Text read from a file enters the
// workbook through here, so the result is always well-formed UTF-8 (U+FFFD for anything else).
std::string DecodeEscapes(std::string_view text);
// Element text or an attribute value as it reads: the five predefined entities and character
// references replaced. Nothing for text holding another entity (or a reference to no character).
std::optional<std::string> DecodeEntities(std::string_view text);

}  // namespace tezlo
