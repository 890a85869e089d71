#include "dispatch/conversions.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "host/host_error.h"
#include "text/ascii.h"
#include "text/decimal_digits.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

// Reads "&H..." or "&O..." digits (the prefix already consumed) the way the macro language does:
// up to 16 bits is an Integer and up to 32 bits a Long, both two's complement, so "&HFFFF" is -1
// and "&H10000" is 65536. More than 32 bits overflows.
double ReadRadixInteger(std::string_view digits, int radix) {
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0 || d >= radix) break;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) throw HostError("Overflow");
  }
  if (value <= 0xFFFFull) return static_cast<double>(static_cast<int16_t>(value));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// Converts a plain decimal numeral built by the readers below ("-12.5e+3"); HostError when it
// does not fit a double. A value too small for a double is 0.
double ParseDecimal(const std::string& numeral) {
  if (numeral.empty()) return 0.0;
  std::string_view s = numeral;
  bool negative = false;
  if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc::result_out_of_range) {
    const size_t e = s.find('e');
    const bool tiny = e != std::string_view::npos && e + 1 < s.size() && s[e + 1] == '-';
    if (!tiny) throw HostError("Overflow");
    value = 0.0;
  } else if (ec != std::errc{} || end != s.data() + s.size()) {
    throw HostError("Type mismatch");
  }
  if (value == 0.0) return 0.0;  // no negative zero
  return negative ? -value : value;
}

// Reads sign, digits, "." digits and an E or D exponent from the start of `s`; returns the
// numeral in plain form and sets `used` to the characters consumed. `allowThousands` accepts
// "," between digits of the whole part.
std::string ReadDecimal(std::string_view s, bool allowThousands, size_t& used) {
  std::string out;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
  bool anyDigit = false;
  while (i < s.size()) {
    if (IsAsciiDigit(s[i])) {
      out += s[i++];
      anyDigit = true;
    } else if (allowThousands && s[i] == ',' && anyDigit) {
      ++i;
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    out += '.';
    while (i < s.size() && IsAsciiDigit(s[i])) {
      out += s[i++];
      anyDigit = true;
    }
  }
  if (!anyDigit) {
    used = 0;
    return {};
  }
  if (i < s.size() && (AsciiUpper(s[i]) == 'E' || AsciiUpper(s[i]) == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    if (j < s.size() && IsAsciiDigit(s[j])) {
      while (j < s.size() && IsAsciiDigit(s[j])) exponent += s[j++];
      out += exponent;
      i = j;
    }
  }
  if (!out.empty() && out.back() == '.') out.pop_back();
  if (out == "-" || out == "+") out.clear();
  used = i;
  return out;
}

// Length in bytes of the UTF-8 character at `i`; an ill-formed sequence counts as one character,
// as it reads once made valid (one U+FFFD).
size_t CharLengthAt(std::string_view s, size_t i) { return NextUtf8(s, i).length; }

// Byte offset of the character numbered `index` (0-based), or the text's size past the end.
size_t ByteOffsetOfChar(std::string_view s, size_t index) {
  size_t i = 0;
  while (index > 0 && i < s.size()) {
    i += CharLengthAt(s, i);
    --index;
  }
  return i;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// A date value as the zh-CN short date "yyyy/m/d", with " H:mm:ss" when it has a time of day;
// a serial below 1 is a time alone.
std::string DateValueText(double serial) {
  if (!(serial >= 0.0 && serial < 2958466.0)) throw HostError("Overflow");
  double whole = std::floor(serial);
  auto seconds = static_cast<int64_t>(std::llround((serial - whole) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += 1.0;
  }
  std::string time;
  if (seconds != 0 || whole < 1.0) {
    time = std::to_string(seconds / 3600) + ":" + TwoDigits(static_cast<int>(seconds / 60 % 60)) +
           ":" + TwoDigits(static_cast<int>(seconds % 60));
  }
  if (whole < 1.0) return time;
  int year = 1900;
  int month = 2;
  int day = 29;  // serial 60: the 1900 system's 29 February 1900
  const auto days = static_cast<int64_t>(whole);
  if (days != 60) {
    using namespace std::chrono;
    // Serials from 61 on count from 1899-12-30; below 60 they are one day further on.
    const sys_days base{year_month_day{std::chrono::year{1899}, December, std::chrono::day{30}}};
    const year_month_day ymd{base + std::chrono::days{days < 60 ? days + 1 : days}};
    year = static_cast<int>(ymd.year());
    month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  }
  std::string text = std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day);
  if (!time.empty()) text += " " + time;
  return text;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  }
  std::string_view s = compact;
  if (s.size() >= 2 && s[0] == '&') {
    const char kind = AsciiUpper(s[1]);
    if (kind == 'H') return ReadRadixInteger(s.substr(2), 16);
    if (kind == 'O') return ReadRadixInteger(s.substr(2), 8);
    return 0.0;
  }
  size_t used = 0;
  return ParseDecimal(ReadDecimal(s, false, used));
}

int32_t ToWholeNumber(std::string_view text) {
  std::string_view s = TrimWhiteSpace(text);
  if (s.size() >= 2 && s[0] == '&' && (AsciiUpper(s[1]) == 'H' || AsciiUpper(s[1]) == 'O')) {
    const int radix = AsciiUpper(s[1]) == 'H' ? 16 : 8;
    const std::string_view digits = s.substr(2);
    if (digits.empty()) throw HostError("Type mismatch");
    for (char c : digits) {
      const int d = HexDigitValue(c);
      if (d < 0 || d >= radix) throw HostError("Type mismatch");
    }
    return static_cast<int32_t>(ReadRadixInteger(digits, radix));
  }
  // A negative number may also be written in parentheses or with a trailing sign: "(12)", "12-".
  bool negate = false;
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    s = TrimWhiteSpace(s.substr(1, s.size() - 2));
    negate = true;
  } else if (!s.empty() && (s.back() == '-' || s.back() == '+') && s.size() >= 2 &&
             s.front() != '-' && s.front() != '+') {
    negate = s.back() == '-';
    s = TrimWhiteSpace(s.substr(0, s.size() - 1));
  }
  size_t used = 0;
  const std::string numeral = ReadDecimal(s, true, used);
  if (numeral.empty() || used != s.size()) throw HostError("Type mismatch");
  if (negate && (numeral.front() == '-' || numeral.front() == '+')) {
    throw HostError("Type mismatch");
  }
  const double value = ParseDecimal(numeral);
  return RoundHalfEven(negate ? -value : value);
}

int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) throw HostError("Overflow");
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  if (whole < -2147483648.0 || whole > 2147483647.0) throw HostError("Overflow");
  return static_cast<int32_t>(whole);
}

int16_t CheckedInt16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw HostError("Overflow");
  }
  return static_cast<int16_t>(value);
}

int32_t CheckedInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw HostError("Overflow");
  }
  return static_cast<int32_t>(value);
}

std::string NumberToText(double value) {
  if (!std::isfinite(value)) throw HostError("Overflow");
  if (value == 0.0) return "0";
  const bool negative = value < 0;
  const DecimalDigits decimal = SignificantDigits(std::fabs(value));
  std::string digits = decimal.digits;
  const int exponent = decimal.exponent;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= kSignificantDigits || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
    if (magnitude.size() < 2) out += '0';
    out += magnitude;
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto wholeDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= wholeDigits) {
      out += digits + std::string(wholeDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits);
    }
  }
  return out;
}

std::string ValueToText(const Value& value) {
  switch (value.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Number: return NumberToText(value.AsNumber());
    case ValueKind::Text: return value.AsText();
    case ValueKind::Boolean: return value.AsBoolean() ? "True" : "False";
    case ValueKind::Date: return DateValueText(value.AsNumber());
    case ValueKind::Error: throw HostError("Type mismatch");
  }
  throw HostError("Type mismatch");
}

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) ++count;
  return count;
}

std::string Mid(std::string_view text, size_t start, size_t count) {
  if (start < 1) throw HostError("Invalid procedure call or argument");
  const size_t from = ByteOffsetOfChar(text, start - 1);
  const std::string_view rest = text.substr(from);
  return std::string(rest.substr(0, ByteOffsetOfChar(rest, count)));
}

std::string Left(std::string_view text, size_t count) {
  return std::string(text.substr(0, ByteOffsetOfChar(text, count)));
}

}  // namespace tezlo
