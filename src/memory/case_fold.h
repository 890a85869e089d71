// Comparing texts without regard to case, by Unicode simple case folding of each character.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tezlo {

// Whether `a` and `b` fold to the same characters; nothing when either is not valid UTF-8.
// Cheap: no allocation, stops at the first differing character.
std::optional<bool> SimpleFoldEquals(std::string_view a, std::string_view b);

// SimpleFoldEquals, falling back to byte equality for invalid UTF-8.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Characters (code points) of valid UTF-8 text; nothing for invalid UTF-8.
std::optional<size_t> CodePointCount(std::string_view text);

}  // namespace tezlo
