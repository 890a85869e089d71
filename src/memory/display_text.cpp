#include "memory/display_text.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "text/ascii.h"
#include "text/decimal_digits.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

constexpr double kLastSerial = 2958465.0;  // 9999-12-31
constexpr size_t kGeneralWidth = 11;       // characters a standard-width cell shows in General

// Keeps the first `keep` digits, rounding half up on the next one (a carry may add a digit in
// front and raise the exponent). keep <= 0 leaves at most a carried 1.
DecimalDigits RoundDigits(DecimalDigits d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return d;
  if (keep < 0) {
    d.digits = "0";
    return d;
  }
  const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    size_t i = static_cast<size_t>(keep);
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i > 0) {
      ++d.digits[i - 1];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  if (d.digits.empty()) d.digits = "0";
  return d;
}

// |value| with exactly `decimals` digits after the point, rounded half away from zero on its
// 15-digit decimal form (so 2.675 shows as 2.68, as the spreadsheet shows it).
std::string FixedText(DecimalDigits d, int decimals, bool grouping) {
  const bool zero = d.digits == "0";
  if (!zero) d = RoundDigits(d, d.exponent + 1 + decimals);
  std::string whole;
  std::string fraction;
  if (zero || d.digits == "0") {
    whole = "0";
  } else {
    // Digit i stands at 10^(exponent - i).
    const int first = d.exponent >= 0 ? d.exponent : 0;
    for (int power = first; power >= -decimals; --power) {
      const int index = d.exponent - power;
      const char digit = (index >= 0 && index < static_cast<int>(d.digits.size()))
                             ? d.digits[static_cast<size_t>(index)]
                             : '0';
      (power >= 0 ? whole : fraction) += digit;
    }
  }
  if (fraction.empty()) fraction = std::string(static_cast<size_t>(decimals), '0');
  if (grouping) whole = GroupThousands(whole);
  return decimals > 0 ? whole + "." + fraction : whole;
}

std::string ExponentText(int exponent) {
  std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
  if (magnitude.size() < 2) magnitude.insert(magnitude.begin(), '0');
  return std::string(exponent < 0 ? "E-" : "E+") + magnitude;
}

// Mantissa with `decimals` digits after the point and the exponent: "1.50E+03".
std::string ScientificText(DecimalDigits d, int decimals, bool stripZeros) {
  if (d.digits != "0") d = RoundDigits(d, 1 + decimals);
  std::string mantissa = d.digits;
  mantissa.resize(static_cast<size_t>(1 + decimals), '0');
  std::string tail = mantissa.substr(1);
  if (stripZeros) {
    while (!tail.empty() && tail.back() == '0') tail.pop_back();
  }
  std::string out(1, mantissa[0]);
  if (!tail.empty()) out += "." + tail;
  return out + ExponentText(d.digits == "0" ? 0 : d.exponent);
}

std::string StripFractionZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string GeneralNumber(double value) {
  if (value == 0.0 || !std::isfinite(value)) return "0";
  const bool negative = value < 0;
  const size_t budget = kGeneralWidth - (negative ? 1 : 0);
  const DecimalDigits d = SignificantDigits(std::fabs(value));
  std::string body;
  if (d.exponent >= -4 && d.exponent <= 10) {
    const int wholeDigits = d.exponent >= 0 ? d.exponent + 1 : 1;
    const int decimals = static_cast<int>(budget) - wholeDigits - 1;
    body = StripFractionZeros(FixedText(d, decimals > 0 ? decimals : 0, false));
    if (body.size() > budget) body.clear();  // a carry made it too long
  }
  if (body.empty()) {
    const int exponentDigits = (d.exponent >= 100 || d.exponent <= -100) ? 3 : 2;
    const int decimals = static_cast<int>(budget) - 2 - 2 - exponentDigits;
    body = ScientificText(d, decimals, true);
  }
  return negative ? "-" + body : body;
}

// ---- Numeric formats: 0, 0.00, #,##0, #,##0.00, 0%, 0.00%, 0.00E+00 -------------------------

struct NumericFormat {
  bool grouping = false;
  int decimals = 0;
  bool percent = false;
  bool scientific = false;
};

std::optional<NumericFormat> ParseNumericFormat(std::string_view f) {
  NumericFormat n;
  if (f.substr(0, 5) == "#,##0") {
    n.grouping = true;
    f.remove_prefix(5);
  } else if (!f.empty() && f.front() == '0') {
    f.remove_prefix(1);
  } else {
    return std::nullopt;
  }
  if (!f.empty() && f.front() == '.') {
    f.remove_prefix(1);
    while (!f.empty() && f.front() == '0') {
      ++n.decimals;
      f.remove_prefix(1);
    }
    if (n.decimals == 0) return std::nullopt;
  }
  if (f == "%") {
    n.percent = true;
  } else if (f == "E+00" || f == "e+00") {
    n.scientific = !n.grouping;
    if (!n.scientific) return std::nullopt;
  } else if (!f.empty()) {
    return std::nullopt;
  }
  return n;
}

std::string FormatNumeric(double value, const NumericFormat& n) {
  DecimalDigits d = SignificantDigits(std::fabs(value));
  if (n.percent && d.digits != "0") d.exponent += 2;
  std::string body =
      n.scientific ? ScientificText(d, n.decimals, false) : FixedText(d, n.decimals, n.grouping);
  if (n.percent) body += '%';
  return value < 0 ? "-" + body : body;
}

// ---- Date and time formats built of y, m, d, h, s ------------------------------------------

enum class Part {
  Literal,
  Year2,
  Year4,
  Month,
  Month2,
  Day,
  Day2,
  Hour,
  Hour2,
  Minute,
  Minute2,
  Second,
  Second2
};

struct Token {
  Part part = Part::Literal;
  std::string text;  // for literals
};

bool IsTimePart(Part p) { return p >= Part::Hour; }

std::optional<std::vector<Token>> ParseDateFormat(std::string_view f) {
  std::vector<Token> tokens;
  bool anyField = false;
  size_t i = 0;
  while (i < f.size()) {
    const char c = f[i];
    const char lower = AsciiLower(c);
    if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's') {
      size_t run = 1;
      while (i + run < f.size() && (f[i + run] == c || f[i + run] == static_cast<char>(c ^ 0x20))) {
        ++run;
      }
      i += run;
      Part p = Part::Literal;
      if (lower == 'y') {
        p = run <= 2 ? Part::Year2 : Part::Year4;
        if (run > 4) return std::nullopt;
      } else if (run > 2) {
        return std::nullopt;  // month and day names are not supported
      } else if (lower == 'm') {
        p = run == 1 ? Part::Month : Part::Month2;
      } else if (lower == 'd') {
        p = run == 1 ? Part::Day : Part::Day2;
      } else if (lower == 'h') {
        p = run == 1 ? Part::Hour : Part::Hour2;
      } else {
        p = run == 1 ? Part::Second : Part::Second2;
      }
      tokens.push_back(Token{p, {}});
      anyField = true;
    } else if (c == '"') {
      const size_t close = f.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      tokens.push_back(Token{Part::Literal, std::string(f.substr(i + 1, close - i - 1))});
      i = close + 1;
    } else if (c == '\\' && i + 1 < f.size()) {
      const size_t length = NextUtf8(f, i + 1).length;
      tokens.push_back(Token{Part::Literal, std::string(f.substr(i + 1, length))});
      i += 1 + length;
    } else if (c == '-' || c == '/' || c == '.' || c == ':' || c == ' ') {
      tokens.push_back(Token{Part::Literal, std::string(1, c)});
      ++i;
    } else {
      return std::nullopt;
    }
  }
  if (!anyField) return std::nullopt;
  // m means minutes right after an hour or right before a second (literals in between).
  for (size_t k = 0; k < tokens.size(); ++k) {
    Part& p = tokens[k].part;
    if (p != Part::Month && p != Part::Month2) continue;
    bool minute = false;
    for (size_t j = k; j-- > 0;) {
      if (tokens[j].part == Part::Literal) continue;
      minute = tokens[j].part == Part::Hour || tokens[j].part == Part::Hour2;
      break;
    }
    for (size_t j = k + 1; !minute && j < tokens.size(); ++j) {
      if (tokens[j].part == Part::Literal) continue;
      minute = tokens[j].part == Part::Second || tokens[j].part == Part::Second2;
      break;
    }
    if (minute) p = p == Part::Month ? Part::Minute : Part::Minute2;
  }
  return tokens;
}

std::string Padded(int v) { return v < 10 ? "0" + std::to_string(v) : std::to_string(v); }

std::string FormatDate(double serial, const std::vector<Token>& tokens) {
  if (!(serial >= 0.0 && serial < kLastSerial + 1.0)) return "########";
  bool hasTime = false;
  for (const Token& t : tokens) hasTime = hasTime || IsTimePart(t.part);
  double whole = std::floor(serial);
  long long seconds = hasTime ? std::llround((serial - whole) * 86400.0) : 0;
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += 1.0;
    if (whole > kLastSerial) return "########";
  }
  int year = 0;
  int month = 0;
  int day = 0;
  SerialToDate(whole, year, month, day);
  const int hour = static_cast<int>(seconds / 3600);
  const int minute = static_cast<int>(seconds / 60 % 60);
  const int second = static_cast<int>(seconds % 60);
  std::string out;
  for (const Token& t : tokens) {
    switch (t.part) {
      case Part::Literal: out += t.text; break;
      case Part::Year2: out += Padded(year % 100); break;
      case Part::Year4: out += std::to_string(year); break;
      case Part::Month: out += std::to_string(month); break;
      case Part::Month2: out += Padded(month); break;
      case Part::Day: out += std::to_string(day); break;
      case Part::Day2: out += Padded(day); break;
      case Part::Hour: out += std::to_string(hour); break;
      case Part::Hour2: out += Padded(hour); break;
      case Part::Minute: out += std::to_string(minute); break;
      case Part::Minute2: out += Padded(minute); break;
      case Part::Second: out += std::to_string(second); break;
      case Part::Second2: out += Padded(second); break;
    }
  }
  return out;
}

}  // namespace

std::string GroupThousands(const std::string& whole) {
  std::string out;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
    out += whole[i];
  }
  return out;
}

std::string GeneralText(const Value& value) {
  switch (value.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Number:
    case ValueKind::Date: return GeneralNumber(value.AsNumber());
    case ValueKind::Text: return value.AsText();
    case ValueKind::Boolean: return value.AsBoolean() ? "TRUE" : "FALSE";
    case ValueKind::Error: return ErrorText(value.AsError());
  }
  return "";
}

std::string DisplayText(const Value& value, std::string_view numberFormat) {
  if (!value.IsNumber() && !value.IsDate()) return GeneralText(value);
  if (numberFormat == "@" || EqualsIgnoringAsciiCase(numberFormat, "General") ||
      numberFormat == "G/通用格式") {
    return GeneralText(value);
  }
  if (const auto numeric = ParseNumericFormat(numberFormat)) {
    return FormatNumeric(value.AsNumber(), *numeric);
  }
  if (const auto date = ParseDateFormat(numberFormat)) return FormatDate(value.AsNumber(), *date);
  return GeneralText(value);
}

bool IsValidCalendarDate(int year, int month, int day) {
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  if (year == 1900 && month == 2 && day == 29) return true;
  using namespace std::chrono;
  const year_month_day ymd{std::chrono::year{year},
                           std::chrono::month{static_cast<unsigned>(month)},
                           std::chrono::day{static_cast<unsigned>(day)}};
  return ymd.ok();
}

double DateToSerial(int year, int month, int day) {
  if (!IsValidCalendarDate(year, month, day)) throw HostError("Invalid date");
  // January and February 1900 are 1 to 60, the non-existent 29 February included.
  if (year == 1900 && month <= 2) return (month - 1) * 31 + day;
  using namespace std::chrono;
  const sys_days date{year_month_day{std::chrono::year{year},
                                     std::chrono::month{static_cast<unsigned>(month)},
                                     std::chrono::day{static_cast<unsigned>(day)}}};
  const sys_days base{year_month_day{std::chrono::year{1899}, December, std::chrono::day{30}}};
  return static_cast<double>((date - base).count());
}

void SerialToDate(double serial, int& year, int& month, int& day) {
  if (!(serial >= 0.0 && serial < kLastSerial + 1.0)) throw HostError("Invalid date serial");
  const auto whole = static_cast<int>(std::floor(serial));
  if (whole <= 60) {
    // January and February 1900, with the 1900 system's day 0 and 29 February.
    year = 1900;
    month = whole <= 31 ? 1 : 2;
    day = whole <= 31 ? whole : whole - 31;
    return;
  }
  using namespace std::chrono;
  const sys_days base{year_month_day{std::chrono::year{1899}, December, std::chrono::day{30}}};
  const year_month_day ymd{base + std::chrono::days{whole}};
  year = static_cast<int>(ymd.year());
  month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

}  // namespace tezlo
