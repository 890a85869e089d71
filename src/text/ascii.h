// ASCII character classes and the small text operations built on them: digits, letters, ASCII
// letter case, and the blanks trimmed from fields. Letter case beyond ASCII is case_fold.h's;
// these are for syntax that is ASCII by definition (numerals, part names, format codes, keywords).
#pragma once

#include <string>
#include <string_view>

namespace tezlo {

inline constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline constexpr bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
// The value of a hexadecimal digit, either case ('b' and 'B' are 11); -1 for any other byte.
inline constexpr int HexDigitValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  const char upper = AsciiUpper(c);
  return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// A space or a tab: what separates the fields of a line.
inline constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// A space, a tab, a carriage return or a line feed (XML's white space too).
inline constexpr bool IsWhiteSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

// `text` with its ASCII capitals made small; every other byte as it is.
std::string LowerAscii(std::string_view text);
// Whether `a` and `b` are the same but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Whether `text` ends with `suffix` but for the case of ASCII letters.
bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix);

// The text without what surrounds it, three ways. Each removes only ASCII bytes, so a
// multi-byte character (the ideographic space U+3000 among them) always stays.
// Spaces only: a tab is part of the text.
std::string_view TrimSpaces(std::string_view text);
// Spaces and tabs (IsBlank).
std::string_view TrimBlanks(std::string_view text);
// Spaces, tabs, carriage returns and line feeds (IsWhiteSpace).
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace tezlo
