#include "memory/typed_entry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "memory/display_text.h"

namespace tezlo {
namespace {

TypedEntry Type(std::string_view text) { return ParseTypedText(text, "General"); }

void ExpectNumber(std::string_view text, double expected, std::string_view format = "") {
  const TypedEntry e = Type(text);
  ASSERT_TRUE(e.value.IsNumber()) << '"' << text << '"';
  EXPECT_EQ(e.value.AsNumber(), expected) << '"' << text << '"';
  EXPECT_EQ(e.impliedFormat, format) << '"' << text << '"';
  EXPECT_FALSE(e.quotePrefix);
}

void ExpectText(std::string_view text) {
  const TypedEntry e = Type(text);
  EXPECT_EQ(e.value, Value::Text(std::string(text))) << '"' << text << '"';
  EXPECT_EQ(e.impliedFormat, "") << '"' << text << '"';
}

void ExpectDate(std::string_view text, double serial, std::string_view format) {
  const TypedEntry e = Type(text);
  EXPECT_EQ(e.value, Value::Date(serial)) << '"' << text << '"';
  EXPECT_EQ(e.impliedFormat, format) << '"' << text << '"';
}

TEST(TypedEntry, PlainNumbers) {
  ExpectNumber("00123", 123);
  ExpectNumber(" 12 ", 12);
  ExpectNumber("-3.5", -3.5);
  ExpectNumber("+7", 7);
  ExpectNumber(".5", 0.5);
  ExpectNumber("5.", 5);
  ExpectNumber("(12)", -12);
  ExpectNumber("0.1", 0.1);
  EXPECT_FALSE(std::signbit(Type("-0").value.AsNumber()));
}

TEST(TypedEntry, NumbersThatBringAFormat) {
  ExpectNumber("1e3", 1000, "0.00E+00");
  ExpectNumber("1.5E-2", 0.015, "0.00E+00");
  ExpectNumber("1,234", 1234, "#,##0");
  ExpectNumber("-12,345,678.5", -12345678.5, "#,##0.00");
  ExpectNumber("5%", 0.05, "0%");
  ExpectNumber("5.5%", 0.055, "0.00%");
  ExpectNumber("-50%", -0.5, "0%");
}

TEST(TypedEntry, LongDigitStringsKeepFifteenDigits) {
  const TypedEntry id = Type("110105199003077123");
  ASSERT_TRUE(id.value.IsNumber());
  EXPECT_EQ(id.value.AsNumber(), 110105199003077000.0);
  EXPECT_EQ(GeneralText(id.value), "1.10105E+17");
  // The 16th digit is dropped, not rounded: 1234567890123456 becomes ...450.
  ExpectNumber("1234567890123456", 1234567890123450.0);
  ExpectNumber("0.12345678901234567", 0.123456789012345);
  ExpectNumber("000123456789012345678", 123456789012345000.0);
}

TEST(TypedEntry, WhatStaysText) {
  for (const char* text :
       {"abc",   "12a", "1 234", "1,23", "1,2345", ",123", "1,,234", "--5",  "(-12)", "1e", "e3",
        "1e400", "%",   "-",     ".",    "5 %",    "0x1F", "&H1F",   "=1+2", "12abc", " "}) {
    ExpectText(text);
  }
  // Text is kept exactly, blanks included.
  EXPECT_EQ(Type(" abc ").value, Value::Text(" abc "));
}

TEST(TypedEntry, Dates) {
  ExpectDate("1980-05-01", 29342, "yyyy/m/d");
  ExpectDate("1980/5/1", 29342, "yyyy/m/d");
  ExpectDate(" 1980-5-1 ", 29342, "yyyy/m/d");
  ExpectDate("80-5-1", 29342, "yyyy/m/d");
  ExpectDate("05/5/1", DateToSerial(2005, 5, 1), "yyyy/m/d");
  ExpectDate("1980年5月1日", 29342, "yyyy\"年\"m\"月\"d\"日\"");
  ExpectDate("1900-02-29", 60, "yyyy/m/d");
  ExpectDate("2000-2-29", DateToSerial(2000, 2, 29), "yyyy/m/d");
}

TEST(TypedEntry, InvalidDatesStayText) {
  for (const char* text :
       {"1980-02-30", "1981-2-29", "1980-13-01", "1980-0-1", "1899-12-31", "1980-5/1", "1980-5",
        "1980-05-01x", "198-5-1", "1980-005-01", "1980年5月", "1980-05-01 25:00"}) {
    ExpectText(text);
  }
}

TEST(TypedEntry, Times) {
  ExpectDate("13:05", (13 * 60 + 5) / 1440.0, "h:mm");
  ExpectDate("7:05:30", (7 * 3600 + 5 * 60 + 30) / 86400.0, "h:mm:ss");
  ExpectDate("1980-05-01 12:00", 29342.5, "yyyy/m/d h:mm");
  ExpectText("24:00");
  ExpectText("12:60");
  ExpectText("12:5");
}

TEST(TypedEntry, BooleansAndErrors) {
  EXPECT_EQ(Type("TRUE").value, Value::Boolean(true));
  EXPECT_EQ(Type("true").value, Value::Boolean(true));
  EXPECT_EQ(Type("False").value, Value::Boolean(false));
  EXPECT_EQ(Type("#N/A").value, Value::Error(ErrorCode::NA));
  EXPECT_EQ(Type("#n/a").value, Value::Error(ErrorCode::NA));
  EXPECT_EQ(Type("#DIV/0!").value, Value::Error(ErrorCode::Div0));
  EXPECT_EQ(Type("#NAME?").value, Value::Error(ErrorCode::Name));
  EXPECT_EQ(Type("#NULL!").value, Value::Error(ErrorCode::Null));
  ExpectText("TRUEX");
  ExpectText("#N/A!");
}

TEST(TypedEntry, ApostropheKeepsText) {
  const TypedEntry zero = Type("'0");
  EXPECT_EQ(zero.value, Value::Text("0"));
  EXPECT_TRUE(zero.quotePrefix);
  const TypedEntry lone = Type("'");
  EXPECT_EQ(lone.value, Value::Text(""));
  EXPECT_TRUE(lone.quotePrefix);
  EXPECT_EQ(Type("''1").value, Value::Text("'1"));
  EXPECT_EQ(ParseTypedText("'123", "@").value, Value::Text("123"));
}

TEST(TypedEntry, TextFormatKeepsEverything) {
  for (const char* text : {"00123", "1980-05-01", "TRUE", "#N/A", "5%", " 12 "}) {
    const TypedEntry e = ParseTypedText(text, "@");
    EXPECT_EQ(e.value, Value::Text(text));
    EXPECT_EQ(e.impliedFormat, "");
    EXPECT_FALSE(e.quotePrefix);
  }
}

TEST(TypedEntry, EmptyTextIsEmpty) {
  EXPECT_TRUE(Type("").value.IsEmpty());
  EXPECT_TRUE(ParseTypedText("", "@").value.IsEmpty());
}

}  // namespace
}  // namespace tezlo
