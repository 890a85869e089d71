// The value a cell holds: empty, number, text, boolean, date or error.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tezlo {

enum class ValueKind : uint8_t { Empty, Number, Text, Boolean, Date, Error };

// The spreadsheet's error values, in the order of their ERROR.TYPE numbers.
enum class ErrorCode : uint8_t { Null, Div0, Value, Ref, Name, Num, NA };

// "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A".
const char* ErrorText(ErrorCode code);

class Value {
 public:
  Value() = default;  // empty

  static Value Number(double v) { return Value(Data{std::in_place_index<1>, v}); }
  static Value Text(std::string v) { return Value(Data{std::in_place_index<2>, std::move(v)}); }
  static Value Boolean(bool v) { return Value(Data{std::in_place_index<3>, v}); }
  // A date as its serial number in the 1900 date system (1 = 1900-01-01).
  static Value Date(double serial) {
    return Value(Data{std::in_place_index<4>, DateSerial{serial}});
  }
  static Value Error(ErrorCode code) { return Value(Data{std::in_place_index<5>, code}); }

  ValueKind Kind() const { return static_cast<ValueKind>(data_.index()); }
  bool IsEmpty() const { return Kind() == ValueKind::Empty; }
  bool IsNumber() const { return Kind() == ValueKind::Number; }
  bool IsText() const { return Kind() == ValueKind::Text; }
  bool IsBoolean() const { return Kind() == ValueKind::Boolean; }
  bool IsDate() const { return Kind() == ValueKind::Date; }
  bool IsError() const { return Kind() == ValueKind::Error; }

  // The number of a number, or the serial of a date.
  double AsNumber() const { return IsDate() ? std::get<4>(data_).serial : std::get<1>(data_); }
  const std::string& AsText() const { return std::get<2>(data_); }
  bool AsBoolean() const { return std::get<3>(data_); }
  ErrorCode AsError() const { return std::get<5>(data_); }

  bool operator==(const Value&) const = default;

 private:
  struct DateSerial {
    double serial;
    bool operator==(const DateSerial&) const = default;
  };
  using Data = std::variant<std::monostate, double, std::string, bool, DateSerial, ErrorCode>;
  explicit Value(Data d) : data_(std::move(d)) {}
  Data data_;
};

}  // namespace tezlo
