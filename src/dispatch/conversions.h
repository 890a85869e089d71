// The spreadsheet's reading and writing of numbers, in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/value.h"

namespace tezlo {

// The leading-number reading of codes and J1: blanks, tabs and line feeds anywhere are ignored;
// "&H" and "&O" read hexadecimal and octal integers; otherwise sign, digits, "." and digits, E or
// D exponent; reading stops at the first other character; 0 when there is no number.
// "150abc" -> 150, "1e3" -> 1000, "*13" -> 0.
double LeadingNumber(std::string_view text);

// The whole-number conversion of a text (CLng): the whole text must be a number, blanks around
// it allowed; a fraction is rounded half to even. HostError when it is not a number or does not
// fit 32 bits. "3" -> 3, " 2.5 " -> 2, "3x" and "" fail.
int32_t ToWholeNumber(std::string_view text);

// Round half to even into 32 bits; HostError on overflow or NaN.
int32_t RoundHalfEven(double value);

// Checked narrowing to the 16-bit shared values; HostError on overflow.
int16_t CheckedInt16(int64_t value);
// Checked narrowing to 32 bits; HostError on overflow.
int32_t CheckedInt32(int64_t value);

// A floating-point value as the platform writes it: at most 15 significant digits, "." as the
// decimal point, E notation for very large and very small values. 54 -> "54", 13.5 -> "13.5",
// 110105199003077000 -> "1.10105199003077E+17".
std::string NumberToText(double value);

// A value read as text (CStr): numbers as NumberToText, texts as they are, booleans "True" and
// "False", dates as "yyyy/m/d", empty as "". HostError for an error value.
std::string ValueToText(const Value& value);

// Character positions in UTF-8 text, counted in characters, not bytes.
size_t CharCount(std::string_view text);
// Characters from 1-based `start`, at most `count` of them (Mid); "" past the end.
std::string Mid(std::string_view text, size_t start, size_t count = std::string_view::npos);
std::string Left(std::string_view text, size_t count);

}  // namespace tezlo
