#include "calc/calc_values.h"

#include "calc/uno_text.h"

namespace tezlo {

ErrorCode ErrorOfCalcCode(int32_t code) {
  switch (code) {
    case 521: return ErrorCode::Null;
    case 532: return ErrorCode::Div0;
    case 524: return ErrorCode::Ref;
    case 525: return ErrorCode::Name;
    case 503: return ErrorCode::Num;
    case 32767: return ErrorCode::NA;
    default: return ErrorCode::Value;  // 519 and Calc's own "Err:5xx" codes
  }
}

Value ValueOfData(const css::uno::Any& data, FormatKind kind, int32_t error) {
  double number = 0;
  if (data >>= number) {
    if (kind == FormatKind::Date) return Value::Date(number);
    if (kind == FormatKind::Boolean) return Value::Boolean(number != 0);
    return Value::Number(number);
  }
  OUString text;
  if (data >>= text) return text.isEmpty() ? Value() : Value::Text(ToUtf8(text));
  return Value::Error(ErrorOfCalcCode(error));
}

}  // namespace tezlo
