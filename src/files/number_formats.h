// Number formats as the file format stores them: the built-in format ids and telling dates
// from numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

// The format text of a built-in id (0 "General", 14 "yyyy/m/d" as a zh-CN spreadsheet shows it,
// 49 "@", ...); nothing for ids without a fixed text.
std::optional<std::string> BuiltinNumberFormat(int id);
// The built-in id a format is written with, for the formats whose text is the same in every
// locale; nothing for the others (they are written as custom formats).
std::optional<int> BuiltinNumberFormatId(std::string_view format);
// True for formats that show a date or a time: y, m, d, h or s outside quoted text, escapes and
// brackets (colour and condition sections), or an elapsed-time bracket like [h].
bool IsDateFormat(std::string_view format);

}  // namespace tezlo
