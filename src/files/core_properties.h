// The core properties part (docProps/core.xml) kept from the file, with its modified time set to
// the time of the save; author, title and the rest stay as they were.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tezlo {

// `xml` with the text of its dcterms:modified element replaced by `when` (UTC, W3CDTF, to the
// second); the element is added when the part has none.
std::string WithModifiedTime(std::string_view xml, std::time_t when);

}  // namespace tezlo
