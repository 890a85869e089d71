#include "text/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace tezlo {
namespace {

// The C library's printf, an independent rounding of the same digits.
DecimalDigits PrintfDigits(double magnitude) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
  DecimalDigits d;
  const char* e = std::strchr(buffer, 'e');
  for (const char* p = buffer; p < e; ++p) {
    if (*p != '.') d.digits += *p;
  }
  d.exponent = std::atoi(e + 1);
  return d;
}

TEST(SignificantDigits, AgreesWithPrintfOnRandomNumbers) {
  std::mt19937_64 rng(15);
  for (int round = 0; round < 20000; ++round) {
    double magnitude = 0;
    if (round % 2 == 0) {
      // Any finite positive double, by its bits.
      const uint64_t bits = rng() & 0x7FFFFFFFFFFFFFFFull;
      std::memcpy(&magnitude, &bits, sizeof magnitude);
      if (!std::isfinite(magnitude) || magnitude == 0) continue;
    } else {
      // Numbers people type: few digits, where halfway cases are common.
      magnitude =
          static_cast<double>(rng() % 100000000) / std::pow(10.0, static_cast<double>(rng() % 12));
      if (magnitude == 0) continue;
    }
    const DecimalDigits d = SignificantDigits(magnitude);
    const DecimalDigits expected = PrintfDigits(magnitude);
    ASSERT_EQ(d.digits, expected.digits) << magnitude;
    ASSERT_EQ(d.exponent, expected.exponent) << magnitude;
    ASSERT_EQ(d.digits.size(), static_cast<size_t>(kSignificantDigits));
  }
  EXPECT_EQ(SignificantDigits(0.0).digits, "0");
  EXPECT_EQ(SignificantDigits(0.0).exponent, 0);
  EXPECT_EQ(SignificantDigits(0.1 + 0.2).digits, "300000000000000");  // 0.30000000000000004
}

}  // namespace
}  // namespace tezlo
