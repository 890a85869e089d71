#include "memory/display_text.h"

#include <gtest/gtest.h>

#include "host/host_error.h"

namespace tezlo {
namespace {

std::string General(double v) { return GeneralText(Value::Number(v)); }

TEST(GeneralText, NumbersFitElevenCharacters) {
  EXPECT_EQ(General(0), "0");
  EXPECT_EQ(General(123), "123");
  EXPECT_EQ(General(-13.5), "-13.5");
  EXPECT_EQ(General(0.1 + 0.2), "0.3");
  EXPECT_EQ(General(12345678901), "12345678901");
  EXPECT_EQ(General(3.14159265358979), "3.141592654");
  EXPECT_EQ(General(-3.14159265358979), "-3.14159265");
  EXPECT_EQ(General(123456.78912345), "123456.7891");
  EXPECT_EQ(General(0.0001), "0.0001");
  EXPECT_EQ(General(0.000123456789), "0.000123457");
}

TEST(GeneralText, ENotationWhenTooLongOrTooSmall) {
  EXPECT_EQ(General(110105199003077000.0), "1.10105E+17");
  EXPECT_EQ(General(-110105199003077000.0), "-1.1011E+17");
  EXPECT_EQ(General(123456789012), "1.23457E+11");
  EXPECT_EQ(General(-12345678901), "-1.2346E+10");
  EXPECT_EQ(General(99999999999.9), "1E+11");  // rounding makes it 12 digits long
  EXPECT_EQ(General(1e11), "1E+11");
  EXPECT_EQ(General(0.00001), "1E-05");
  EXPECT_EQ(General(1.5e-7), "1.5E-07");
  EXPECT_EQ(General(1.23456789e200), "1.2346E+200");
}

TEST(GeneralText, OtherKinds) {
  EXPECT_EQ(GeneralText(Value()), "");
  EXPECT_EQ(GeneralText(Value::Text("00123")), "00123");
  EXPECT_EQ(GeneralText(Value::Boolean(true)), "TRUE");
  EXPECT_EQ(GeneralText(Value::Boolean(false)), "FALSE");
  EXPECT_EQ(GeneralText(Value::Error(ErrorCode::Div0)), "#DIV/0!");
  EXPECT_EQ(GeneralText(Value::Date(29342)), "29342");
}

TEST(DisplayText, NumericFormats) {
  const Value v = Value::Number(1234.5);
  EXPECT_EQ(DisplayText(v, "General"), "1234.5");
  EXPECT_EQ(DisplayText(v, "G/通用格式"), "1234.5");
  EXPECT_EQ(DisplayText(v, "@"), "1234.5");
  EXPECT_EQ(DisplayText(v, "0"), "1235");
  EXPECT_EQ(DisplayText(v, "0.00"), "1234.50");
  EXPECT_EQ(DisplayText(v, "#,##0"), "1,235");
  EXPECT_EQ(DisplayText(Value::Number(-1234567.891), "#,##0.00"), "-1,234,567.89");
  EXPECT_EQ(DisplayText(Value::Number(2.675), "0.00"), "2.68");  // decimal, not binary, rounding
  EXPECT_EQ(DisplayText(Value::Number(0.5), "0"), "1");
  EXPECT_EQ(DisplayText(Value::Number(0.4), "0"), "0");
  EXPECT_EQ(DisplayText(Value::Number(-0.4), "0"), "-0");
  EXPECT_EQ(DisplayText(Value::Number(999.996), "0.00"), "1000.00");
  EXPECT_EQ(DisplayText(Value::Number(0.05), "0%"), "5%");
  EXPECT_EQ(DisplayText(Value::Number(0.055), "0.00%"), "5.50%");
  EXPECT_EQ(DisplayText(Value::Number(1000), "0.00E+00"), "1.00E+03");
  EXPECT_EQ(DisplayText(Value::Number(0.000123), "0.00E+00"), "1.23E-04");
  EXPECT_EQ(DisplayText(Value::Number(0), "0.00E+00"), "0.00E+00");
}

TEST(DisplayText, DateFormats) {
  const Value d = Value::Date(29342);  // 1980-05-01
  EXPECT_EQ(DisplayText(d, "yyyy-mm-dd"), "1980-05-01");
  EXPECT_EQ(DisplayText(d, "yyyy/m/d"), "1980/5/1");
  EXPECT_EQ(DisplayText(d, "m/d/yyyy"), "5/1/1980");
  EXPECT_EQ(DisplayText(d, "yy.mm.dd"), "80.05.01");
  EXPECT_EQ(DisplayText(d, "yyyy\"年\"m\"月\"d\"日\""), "1980年5月1日");
  EXPECT_EQ(DisplayText(d, "yyyy\\年m\\月"), "1980年5月");
  EXPECT_EQ(DisplayText(Value::Number(29342), "yyyy/m/d"), "1980/5/1");
  EXPECT_EQ(DisplayText(Value::Date(60), "yyyy-mm-dd"), "1900-02-29");
  EXPECT_EQ(DisplayText(Value::Date(0), "yyyy-mm-dd"), "1900-01-00");
  EXPECT_EQ(DisplayText(Value::Number(-1), "yyyy-mm-dd"), "########");
}

TEST(DisplayText, TimesAndMinutes) {
  const Value t = Value::Date(29342 + (13 * 3600 + 5 * 60 + 9) / 86400.0);
  EXPECT_EQ(DisplayText(t, "h:mm"), "13:05");
  EXPECT_EQ(DisplayText(t, "hh:mm:ss"), "13:05:09");
  EXPECT_EQ(DisplayText(t, "mm:ss"), "05:09");  // m before s is minutes
  EXPECT_EQ(DisplayText(t, "yyyy/m/d h:mm"), "1980/5/1 13:05");
  EXPECT_EQ(DisplayText(Value::Number(0.9999999), "yyyy/m/d h:mm"), "1900/1/1 0:00");
}

TEST(DisplayText, UnknownFormatsAndNonNumbers) {
  EXPECT_EQ(DisplayText(Value::Number(1.5), "[Red]0.0"), "1.5");
  EXPECT_EQ(DisplayText(Value::Number(1.5), "mmm d"), "1.5");
  EXPECT_EQ(DisplayText(Value::Number(1.5), "0.00;(0.00)"), "1.5");
  EXPECT_EQ(DisplayText(Value::Text("abc"), "0.00"), "abc");
  EXPECT_EQ(DisplayText(Value::Boolean(true), "yyyy"), "TRUE");
  EXPECT_EQ(DisplayText(Value(), "0.00"), "");
}

TEST(DateSerial, The1900System) {
  EXPECT_EQ(DateToSerial(1900, 1, 1), 1);
  EXPECT_EQ(DateToSerial(1900, 2, 28), 59);
  EXPECT_EQ(DateToSerial(1900, 2, 29), 60);
  EXPECT_EQ(DateToSerial(1900, 3, 1), 61);
  EXPECT_EQ(DateToSerial(1980, 5, 1), 29342);
  EXPECT_EQ(DateToSerial(2000, 2, 29), 36585);
  EXPECT_EQ(DateToSerial(9999, 12, 31), 2958465);
  EXPECT_THROW(DateToSerial(1899, 12, 31), HostError);
  EXPECT_THROW(DateToSerial(1980, 2, 30), HostError);
  EXPECT_THROW(DateToSerial(1900, 2, 30), HostError);
  EXPECT_THROW(DateToSerial(2100, 2, 29), HostError);
  EXPECT_THROW(DateToSerial(1980, 13, 1), HostError);
  EXPECT_THROW(DateToSerial(10000, 1, 1), HostError);
}

TEST(DateSerial, RoundTripsEveryDay) {
  int y = 0;
  int m = 0;
  int d = 0;
  for (int serial = 1; serial <= 2958465; serial += 7) {
    SerialToDate(serial + 0.75, y, m, d);
    ASSERT_TRUE(IsValidCalendarDate(y, m, d)) << serial;
    ASSERT_EQ(DateToSerial(y, m, d), serial);
  }
  SerialToDate(0, y, m, d);
  EXPECT_EQ(d, 0);
  EXPECT_THROW(SerialToDate(-0.5, y, m, d), HostError);
  EXPECT_THROW(SerialToDate(2958466, y, m, d), HostError);
}

}  // namespace
}  // namespace tezlo
