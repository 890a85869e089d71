#include "text/decimal_digits.h"

#include <charconv>
#include <string_view>

#include "text/ascii.h"

namespace tezlo {

DecimalDigits SignificantDigits(double magnitude) {
  DecimalDigits d;
  if (magnitude == 0.0) {
    d.digits = "0";
    return d;
  }
  // d.dddddddddddddde±x: one digit before the point and the rest after it.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view sci(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t e = sci.find('e');
  for (const char c : sci.substr(0, e)) {
    if (IsAsciiDigit(c)) d.digits += c;
  }
  const char* exponentStart = sci.data() + e + (sci[e + 1] == '+' ? 2 : 1);
  std::from_chars(exponentStart, sci.data() + sci.size(), d.exponent);
  return d;
}

}  // namespace tezlo
