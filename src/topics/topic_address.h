// Reading a topic address out of a function code.
#pragma once

#include <optional>
#include <string_view>

#include "host/cell.h"

namespace tezlo {

// The code's first character is the column of a topic-index cell, the rest its row, both whole
// numbers; a column or row below 1 counts as 1 ("105" is A5, "312" is C12, "1000" is A1).
// Nothing when either part is not a plain whole number: a first character that is not a digit,
// a row part that is empty or holds anything but digits (with blanks around it allowed), such as
// "1e5" or "1.5e3", or a row too large for 32 bits.
std::optional<Cell> ParseTopicAddress(std::string_view code);

}  // namespace tezlo
