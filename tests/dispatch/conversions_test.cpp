#include "dispatch/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/host_error.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

TEST(LeadingNumber, ReadsTheNumericStart) {
  EXPECT_EQ(LeadingNumber("150"), 150);
  EXPECT_EQ(LeadingNumber("150abc"), 150);
  EXPECT_EQ(LeadingNumber("999abc"), 999);
  EXPECT_EQ(LeadingNumber("100.5"), 100.5);
  EXPECT_EQ(LeadingNumber("-.5"), -0.5);
  EXPECT_EQ(LeadingNumber("+7"), 7);
  EXPECT_EQ(LeadingNumber("13.5,54"), 13.5);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
}

TEST(LeadingNumber, NoNumberGivesZero) {
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("*13"), 0);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("--5"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_FALSE(std::signbit(LeadingNumber("-0")));
}

TEST(LeadingNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(LeadingNumber("1 2 3"), 123);
  EXPECT_EQ(LeadingNumber(" \t12\n5x"), 125);
  EXPECT_EQ(LeadingNumber("- 4 . 5"), -4.5);
  EXPECT_EQ(LeadingNumber("1 e 3"), 1000);
}

TEST(LeadingNumber, ExponentsWithEOrD) {
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("1E3"), 1000);
  EXPECT_EQ(LeadingNumber("2d2"), 200);
  EXPECT_EQ(LeadingNumber("2.5E-1"), 0.25);
  EXPECT_EQ(LeadingNumber("1e"), 1);  // an exponent without digits is not read
  EXPECT_EQ(LeadingNumber("1e+x"), 1);
  EXPECT_EQ(LeadingNumber("1e-400"), 0);
  EXPECT_THROW(LeadingNumber("1e400"), HostError);
}

TEST(LeadingNumber, HexadecimalAndOctal) {
  EXPECT_EQ(LeadingNumber("&H1F"), 31);
  EXPECT_EQ(LeadingNumber("&h1fz"), 31);
  EXPECT_EQ(LeadingNumber("&O17"), 15);
  EXPECT_EQ(LeadingNumber("&o8"), 0);
  EXPECT_EQ(LeadingNumber("&HFFFF"), -1);  // 16-bit two's complement
  EXPECT_EQ(LeadingNumber("&H10000"), 65536);
  EXPECT_EQ(LeadingNumber("&HFFFFFFFF"), -1);
  EXPECT_EQ(LeadingNumber("&X1"), 0);
  EXPECT_EQ(LeadingNumber("&"), 0);
  EXPECT_THROW(LeadingNumber("&H100000000"), HostError);
}

TEST(ToWholeNumber, RoundsHalvesToEven) {
  EXPECT_EQ(ToWholeNumber("3"), 3);
  EXPECT_EQ(ToWholeNumber(" 2.5 "), 2);
  EXPECT_EQ(ToWholeNumber("3.5"), 4);
  EXPECT_EQ(ToWholeNumber("-0.4"), 0);
  EXPECT_EQ(ToWholeNumber("-2.5"), -2);
  EXPECT_EQ(ToWholeNumber("2.51"), 3);
  EXPECT_EQ(ToWholeNumber("12"), 12);
}

TEST(ToWholeNumber, AcceptsTheLocaleForms) {
  EXPECT_EQ(ToWholeNumber("1e3"), 1000);
  EXPECT_EQ(ToWholeNumber("&H10"), 16);
  EXPECT_EQ(ToWholeNumber("&o10"), 8);
  EXPECT_EQ(ToWholeNumber("1,000"), 1000);
  EXPECT_EQ(ToWholeNumber("\t-12\n"), -12);
  EXPECT_EQ(ToWholeNumber("(12)"), -12);
  EXPECT_EQ(ToWholeNumber("12-"), -12);
  EXPECT_EQ(ToWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(ToWholeNumber("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(ToWholeNumber, FailsOnWhatIsNotANumber) {
  for (const char* text : {"", " ", "a", "3x", "+", "-", "+a", "1 2", ",5", "1e", "&H", "&HG",
                           "(-1)", "--1", "+-2", "1..2"}) {
    EXPECT_THROW(ToWholeNumber(text), HostError) << '"' << text << '"';
  }
}

TEST(ToWholeNumber, FailsOutside32Bits) {
  EXPECT_THROW(ToWholeNumber("2147483648"), HostError);
  EXPECT_THROW(ToWholeNumber("2147483647.5"), HostError);
  EXPECT_THROW(ToWholeNumber("-2147483649"), HostError);
  EXPECT_THROW(ToWholeNumber("1e400"), HostError);
}

TEST(RoundHalfEven, RoundsAndChecksRange) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(-2147483648.4), std::numeric_limits<int32_t>::min());
  EXPECT_THROW(RoundHalfEven(std::nan("")), HostError);
  EXPECT_THROW(RoundHalfEven(std::numeric_limits<double>::infinity()), HostError);
  EXPECT_THROW(RoundHalfEven(2147483647.5), HostError);
}

TEST(CheckedNarrowing, FailsOnOverflow) {
  EXPECT_EQ(CheckedInt16(32767), 32767);
  EXPECT_EQ(CheckedInt16(-32768), -32768);
  EXPECT_THROW(CheckedInt16(32768), HostError);
  EXPECT_THROW(CheckedInt16(-32769), HostError);
  EXPECT_EQ(CheckedInt32(-2147483648LL), std::numeric_limits<int32_t>::min());
  EXPECT_THROW(CheckedInt32(2147483648LL), HostError);
}

TEST(NumberToText, FifteenSignificantDigits) {
  EXPECT_EQ(NumberToText(54), "54");
  EXPECT_EQ(NumberToText(13.5), "13.5");
  EXPECT_EQ(NumberToText(-13.5), "-13.5");
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberToText(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(NumberToText(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(NumberToText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberToText(100), "100");
  EXPECT_EQ(NumberToText(-0.0), "0");
  EXPECT_EQ(NumberToText(0.0001), "0.0001");
  EXPECT_EQ(NumberToText(0.00012345), "0.00012345");
}

TEST(NumberToText, ENotationForLargeAndSmall) {
  EXPECT_EQ(NumberToText(110105199003077000.0), "1.10105199003077E+17");
  EXPECT_EQ(NumberToText(1234567890123456.0), "1.23456789012346E+15");
  EXPECT_EQ(NumberToText(1e15), "1E+15");
  EXPECT_EQ(NumberToText(999999999999999.9), "1E+15");  // rounding carries into the exponent
  EXPECT_EQ(NumberToText(0.00001), "1E-05");
  EXPECT_EQ(NumberToText(-1.5e-7), "-1.5E-07");
  EXPECT_EQ(NumberToText(1e100), "1E+100");
  EXPECT_EQ(NumberToText(4.9e-324), "4.94065645841247E-324");
  EXPECT_THROW(NumberToText(std::numeric_limits<double>::infinity()), HostError);
}

TEST(ValueToText, EachKind) {
  EXPECT_EQ(ValueToText(Value()), "");
  EXPECT_EQ(ValueToText(Value::Number(123)), "123");
  EXPECT_EQ(ValueToText(Value::Text("00123")), "00123");
  EXPECT_EQ(ValueToText(Value::Boolean(true)), "True");
  EXPECT_EQ(ValueToText(Value::Boolean(false)), "False");
  EXPECT_THROW(ValueToText(Value::Error(ErrorCode::NA)), HostError);
}

TEST(ValueToText, DatesAsZhCnShortDate) {
  EXPECT_EQ(ValueToText(Value::Date(29342)), "1980/5/1");
  EXPECT_EQ(ValueToText(Value::Date(1)), "1900/1/1");
  EXPECT_EQ(ValueToText(Value::Date(59)), "1900/2/28");
  EXPECT_EQ(ValueToText(Value::Date(60)), "1900/2/29");
  EXPECT_EQ(ValueToText(Value::Date(61)), "1900/3/1");
  EXPECT_EQ(ValueToText(Value::Date(2958465)), "9999/12/31");
  EXPECT_EQ(ValueToText(Value::Date(29342.5)), "1980/5/1 12:00:00");
  EXPECT_EQ(ValueToText(Value::Date(0.75)), "18:00:00");
  EXPECT_THROW(ValueToText(Value::Date(-1)), HostError);
}

TEST(Characters, CountedNotBytes) {
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharCount("abc"), 3u);
  EXPECT_EQ(CharCount("身份证"), 3u);
  EXPECT_EQ(CharCount("j21身份证信息"), 8u);
  EXPECT_EQ(CharCount("a\xF0\x9F\x98\x80z"), 3u);  // a character outside the BMP is one
}

TEST(Characters, MidAndLeft) {
  EXPECT_EQ(Mid("j21身份证信息", 4), "身份证信息");
  EXPECT_EQ(Mid("j21身份证信息", 2, 2), "21");
  EXPECT_EQ(Mid("j21身份证信息", 5, 2), "份证");
  EXPECT_EQ(Mid("abc", 3, 5), "c");
  EXPECT_EQ(Mid("abc", 4), "");
  EXPECT_EQ(Mid("abc", 99, 1), "");
  EXPECT_EQ(Mid("abc", 1, 0), "");
  EXPECT_THROW(Mid("abc", 0, 1), HostError);
  EXPECT_EQ(Left("身份证号", 2), "身份");
  EXPECT_EQ(Left("ab", 5), "ab");
  EXPECT_EQ(Left("ab", 0), "");
}

// Ill-formed bytes count as the text reads once made valid, the one way they are handled
// everywhere: each maximal subpart of an ill-formed sequence is one character (one U+FFFD).
TEST(Characters, InvalidUtf8CountsAsItReadsOnceMadeValid) {
  EXPECT_EQ(CharCount("\xFF\xFE"), 2u);
  EXPECT_EQ(CharCount("a\xE8\xBA"), 2u);     // a truncated sequence at the end is one
  EXPECT_EQ(CharCount("\xC0\x80"), 2u);      // overlong form
  EXPECT_EQ(CharCount("\xED\xA0\x80"), 3u);  // encoded surrogate
  EXPECT_EQ(CharCount("\xE8"
                      "x"
                      "\xBA\xAB"),
            4u);  // continuation bytes without a lead
  for (std::string_view raw :
       {"\xFF\xFE", "a\xE8\xBA", "\xC0\x80", "\xED\xA0\x80", "\xE8x\xBA\xAB", "\xF0\x9F\x98"}) {
    EXPECT_EQ(CharCount(raw), CharCount(ValidUtf8(raw))) << raw;
  }
  EXPECT_EQ(Mid("\xFF"
                "身"
                "\xFE",
                2, 1),
            "身");
  EXPECT_EQ(Left("\xE8\xBA", 1), "\xE8\xBA");
}

}  // namespace
}  // namespace tezlo
