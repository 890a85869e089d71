// Well-formed UTF-8 for text that comes from outside (files, the system's listings, the user):
// each ill-formed sequence becomes U+FFFD, so the engine only ever holds valid text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tezlo {

inline constexpr char32_t kReplacementCodePoint = 0xFFFD;
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // its UTF-8

// One step through UTF-8: the character that starts at text[i] and the bytes it takes. For an
// ill-formed sequence `codePoint` is -1 and `length` covers its maximal subpart (the longest
// start of a well-formed sequence, at least one byte), which stands for one U+FFFD.
struct Utf8Step {
  int32_t codePoint;
  size_t length;
};
Utf8Step NextUtf8(std::string_view text, size_t i);

bool IsValidUtf8(std::string_view text);
// `text` with every maximal subpart of an ill-formed sequence replaced by U+FFFD (the Unicode
// Standard's recommended practice: "\xE2\x82" gives one U+FFFD, "\xC0\xAF" two).
std::string ValidUtf8(std::string_view text);
// The same in place; costs one scan when the text is already valid.
void MakeValidUtf8(std::string& text);

// Appends the UTF-8 form of a code point (one that is not a surrogate, up to U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace tezlo
