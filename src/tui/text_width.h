// Widths of UTF-8 text in terminal cells, measured as the terminal measures them (wcwidth): a
// Chinese character takes two cells, a combining mark none.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/valid_utf8.h"  // AppendUtf8, for the callers that encode what they decode

namespace tezlo {

// The code point starting at text[pos]; pos moves past it. An ill-formed sequence reads as one
// U+FFFD for each maximal subpart (see text/valid_utf8.h), so typed bytes that are not UTF-8
// become well-formed text.
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// Terminal cells a code point takes: 0, 1 or 2. Control characters (shown as a blank) and code
// points wcwidth does not know take 1.
int CharWidth(char32_t c);
int TextWidth(std::string_view text);

// The longest prefix of `text` that fits in `cells`, never splitting a wide character.
std::string_view FitPrefix(std::string_view text, int cells);

// Makes LC_CTYPE a UTF-8 locale (the environment's if it is one, else C.UTF-8) so that wcwidth
// knows wide characters. Returns false when no UTF-8 locale is available.
bool UseUtf8CharacterWidths();

}  // namespace tezlo
