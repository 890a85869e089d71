#include "memory/typed_entry.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

#include "memory/display_text.h"
#include "text/ascii.h"
#include "text/decimal_digits.h"

namespace tezlo {

namespace {

constexpr double kLargestNumber = 9.99999999999999e307;

// Reads a run of digits at `i`; returns how many were read.
size_t ReadDigits(std::string_view s, size_t& i, std::string& out) {
  const size_t start = i;
  while (i < s.size() && IsAsciiDigit(s[i])) out += s[i++];
  return i - start;
}

struct TypedNumber {
  double value = 0;
  std::string format;
};

// "-1,234.5", "(12)", "5%", "1.5E+3", "00123": the forms a typed number takes.
std::optional<TypedNumber> ReadNumber(std::string_view s) {
  bool negative = false;
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    negative = true;
    s = s.substr(1, s.size() - 2);
  } else if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  bool percent = false;
  if (!s.empty() && s.back() == '%') {
    percent = true;
    s.remove_suffix(1);
  }
  size_t i = 0;
  std::string digits;  // whole part then fraction, without separators
  // Whole part: plain digits, or groups of three after a first group of one to three.
  size_t group = ReadDigits(s, i, digits);
  bool grouped = false;
  while (i < s.size() && s[i] == ',') {
    if (group == 0 || (grouped ? group != 3 : group > 3)) return std::nullopt;
    ++i;
    group = ReadDigits(s, i, digits);
    grouped = true;
    if (group != 3) return std::nullopt;
  }
  const size_t wholeDigits = digits.size();
  size_t fractionDigits = 0;
  if (i < s.size() && s[i] == '.') {
    ++i;
    fractionDigits = ReadDigits(s, i, digits);
  }
  if (digits.empty()) return std::nullopt;
  int exponent = 0;
  bool scientific = false;
  if (i < s.size() && AsciiLower(s[i]) == 'e') {
    ++i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    std::string exponentDigits;
    if (ReadDigits(s, i, exponentDigits) == 0 || exponentDigits.size() > 4) return std::nullopt;
    exponent = std::stoi(exponentDigits);
    if (negativeExponent) exponent = -exponent;
    scientific = true;
  }
  if (i != s.size()) return std::nullopt;

  // Keep 15 significant digits; later ones become zeros.
  int significant = 0;
  for (char& c : digits) {
    if (significant > 0 || c != '0') ++significant;
    if (significant > kSignificantDigits) c = '0';
  }
  if (percent) exponent -= 2;
  const std::string numeral = digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits) +
                              "e" + std::to_string(exponent);
  double value = 0;
  const auto [end, ec] = std::from_chars(numeral.data(), numeral.data() + numeral.size(), value);
  if (ec != std::errc{} || end != numeral.data() + numeral.size() || value > kLargestNumber) {
    return std::nullopt;
  }
  TypedNumber n;
  n.value = (negative && value != 0.0) ? -value : value;
  if (percent) {
    n.format = fractionDigits > 0 ? "0.00%" : "0%";
  } else if (scientific) {
    n.format = "0.00E+00";
  } else if (grouped) {
    n.format = fractionDigits > 0 ? "#,##0.00" : "#,##0";
  }
  return n;
}

// A whole number of one or two digits (or exactly `width` when width is 4) at `i`.
std::optional<int> ReadField(std::string_view s, size_t& i, size_t minWidth, size_t maxWidth) {
  std::string digits;
  const size_t n = ReadDigits(s, i, digits);
  if (n < minWidth || n > maxWidth) return std::nullopt;
  return std::stoi(digits);
}

bool Consume(std::string_view s, size_t& i, std::string_view what) {
  if (s.substr(i, what.size()) != what) return false;
  i += what.size();
  return true;
}

// "1980-05-01", "80/5/1", "1980年5月1日": the serial of the date, advancing `i`.
std::optional<double> ReadDate(std::string_view s, size_t& i, std::string& format) {
  size_t k = i;
  const size_t yearStart = k;
  const auto year = ReadField(s, k, 2, 4);
  if (!year || k - yearStart == 3) return std::nullopt;
  int fullYear = *year;
  if (k - yearStart == 2) fullYear += *year < 30 ? 2000 : 1900;
  std::optional<int> month;
  std::optional<int> day;
  if (Consume(s, k, "年")) {
    month = ReadField(s, k, 1, 2);
    if (!month || !Consume(s, k, "月")) return std::nullopt;
    day = ReadField(s, k, 1, 2);
    if (!day || !Consume(s, k, "日")) return std::nullopt;
    format = "yyyy\"年\"m\"月\"d\"日\"";
  } else {
    if (k >= s.size() || (s[k] != '-' && s[k] != '/')) return std::nullopt;
    const char separator = s[k++];
    month = ReadField(s, k, 1, 2);
    if (!month || k >= s.size() || s[k] != separator) return std::nullopt;
    ++k;
    day = ReadField(s, k, 1, 2);
    if (!day) return std::nullopt;
    format = "yyyy/m/d";
  }
  if (!IsValidCalendarDate(fullYear, *month, *day)) return std::nullopt;
  i = k;
  return DateToSerial(fullYear, *month, *day);
}

// "13:05" or "13:05:09": the fraction of a day, advancing `i`.
std::optional<double> ReadTime(std::string_view s, size_t& i, std::string& format) {
  size_t k = i;
  const auto hour = ReadField(s, k, 1, 2);
  if (!hour || !Consume(s, k, ":")) return std::nullopt;
  const auto minute = ReadField(s, k, 2, 2);
  if (!minute) return std::nullopt;
  int second = 0;
  format = "h:mm";
  if (Consume(s, k, ":")) {
    const auto s2 = ReadField(s, k, 2, 2);
    if (!s2) return std::nullopt;
    second = *s2;
    format = "h:mm:ss";
  }
  if (*hour > 23 || *minute > 59 || second > 59) return std::nullopt;
  i = k;
  return (*hour * 3600 + *minute * 60 + second) / 86400.0;
}

std::optional<TypedNumber> ReadDateTime(std::string_view s) {
  size_t i = 0;
  std::string dateFormat;
  std::string timeFormat;
  const auto date = ReadDate(s, i, dateFormat);
  if (date && i == s.size()) return TypedNumber{*date, dateFormat};
  if (date) {
    if (s[i] != ' ') return std::nullopt;
    while (i < s.size() && s[i] == ' ') ++i;
    const auto time = ReadTime(s, i, timeFormat);
    if (!time || i != s.size()) return std::nullopt;
    return TypedNumber{*date + *time, "yyyy/m/d h:mm"};
  }
  i = 0;
  const auto time = ReadTime(s, i, timeFormat);
  if (!time || i != s.size()) return std::nullopt;
  return TypedNumber{*time, timeFormat};
}

std::optional<ErrorCode> ReadError(std::string_view s) {
  static constexpr std::array kCodes = {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value,
                                        ErrorCode::Ref,  ErrorCode::Name, ErrorCode::Num,
                                        ErrorCode::NA};
  for (ErrorCode code : kCodes) {
    if (EqualsIgnoringAsciiCase(s, ErrorText(code))) return code;
  }
  return std::nullopt;
}

}  // namespace

TypedEntry ParseTypedText(std::string_view text, std::string_view numberFormat) {
  TypedEntry entry;
  if (text.empty()) return entry;
  if (text.front() == '\'') {
    entry.value = Value::Text(std::string(text.substr(1)));
    entry.quotePrefix = true;
    return entry;
  }
  if (numberFormat == "@") {
    entry.value = Value::Text(std::string(text));
    return entry;
  }
  const std::string_view s = TrimBlanks(text);
  if (EqualsIgnoringAsciiCase(s, "TRUE") || EqualsIgnoringAsciiCase(s, "FALSE")) {
    entry.value = Value::Boolean(AsciiLower(s.front()) == 't');
  } else if (const auto error = ReadError(s)) {
    entry.value = Value::Error(*error);
  } else if (const auto number = ReadNumber(s)) {
    entry.value = Value::Number(number->value);
    entry.impliedFormat = number->format;
  } else if (const auto date = ReadDateTime(s)) {
    entry.value = Value::Date(date->value);
    entry.impliedFormat = date->format;
  } else {
    entry.value = Value::Text(std::string(text));
  }
  return entry;
}

}  // namespace tezlo
