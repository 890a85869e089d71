// Texts prepared for comparing without regard to letter case: one unit per character, each
// character replaced by its simple Unicode case folding ("A" and "a" give the same unit).
#pragma once

#include <string>
#include <string_view>

namespace tezlo {

// One unit per character of the UTF-8 text, case-folded. A byte that is not part of valid UTF-8
// becomes a unit of its own that no character folds to, so broken text still compares by bytes.
std::u32string FoldForSearch(std::string_view utf8);

}  // namespace tezlo
