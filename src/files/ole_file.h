// Recognises the files that look like workbooks but are not zip packages: an encrypted workbook
// and the binary .xls format are both OLE compound files (they start D0 CF 11 E0 A1 B1 1A E1).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

// For an OLE compound file, the rest of a one-line message saying what it is ("is encrypted
// ..."); nullopt for anything else. `bytes` is the file, or as much of its start as is at hand.
std::optional<std::string> DescribeOleFile(std::string_view bytes);

}  // namespace tezlo
