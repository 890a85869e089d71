#include "tools/numeric_text.h"

#include "text/ascii.h"

namespace tezlo {
namespace {

bool IsRadixDigit(char c, int radix) {
  if (radix == 8) return c >= '0' && c <= '7';
  return HexDigitValue(c) >= 0;
}

// "&H1F" or "&O17": the prefix and at least one digit of its radix, nothing else.
bool ReadsAsRadixNumber(std::string_view s) {
  if (s.size() < 3 || s[0] != '&') return false;
  const char kind = s[1];
  const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
  if (radix == 0) return false;
  for (const char c : s.substr(2)) {
    if (!IsRadixDigit(c, radix)) return false;
  }
  return true;
}

}  // namespace

bool ReadsAsNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (ReadsAsRadixNumber(text)) return true;

  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  while (i < text.size() && (IsAsciiDigit(text[i]) || (text[i] == ',' && digits))) {
    digits = digits || IsAsciiDigit(text[i]);
    ++i;
  }
  if (i > 0 && text[i - 1] == ',') return false;  // a separator must stand between digits
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsAsciiDigit(text[i])) {
      digits = true;
      ++i;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t exponentStart = i;
    while (i < text.size() && IsAsciiDigit(text[i])) ++i;
    if (i == exponentStart) return false;
  }
  return i == text.size();
}

}  // namespace tezlo
