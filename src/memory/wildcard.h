// The criteria matching of MATCH with match type 0.
#pragma once

#include <string_view>

namespace tezlo {

// True when `text` equals `pattern` without regard to case (Unicode simple case folding), where
// in the pattern * stands for any run of characters, ? for one character, and ~ makes the next
// character literal. Characters, not bytes, are counted.
bool WildcardMatches(std::string_view pattern, std::string_view text);

}  // namespace tezlo
