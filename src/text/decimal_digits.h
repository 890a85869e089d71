// A number as the spreadsheet holds it for showing and for typing: 15 significant decimal
// digits, the rest rounded away (or, as typed, made zeros).
#pragma once

#include <string>

namespace tezlo {

// How many significant decimal digits a number keeps.
inline constexpr int kSignificantDigits = 15;

// A non-negative number's significant digits d1 d2 ... d15 (exactly kSignificantDigits of them,
// trailing zeros included), the first standing at 10^exponent. Zero is "0" at exponent 0.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// `magnitude` (finite, not negative) rounded to kSignificantDigits digits.
DecimalDigits SignificantDigits(double magnitude);

}  // namespace tezlo
