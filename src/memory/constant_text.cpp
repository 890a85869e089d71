#include "memory/constant_text.h"

#include <cmath>
#include <cstdio>

#include "memory/display_text.h"

namespace tezlo {

std::string ConstantText(const Value& value) {
  switch (value.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Text: return value.AsText();
    case ValueKind::Boolean: return value.AsBoolean() ? "TRUE" : "FALSE";
    case ValueKind::Error: return ErrorText(value.AsError());
    case ValueKind::Date: {
      int y = 0;
      int m = 0;
      int d = 0;
      SerialToDate(value.AsNumber(), y, m, d);
      return std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d);
    }
    case ValueKind::Number: {
      const double v = value.AsNumber() == 0 ? 0.0 : value.AsNumber();  // no "-0"
      if (!std::isfinite(v)) return "#NUM!";
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.15G", v);
      return buf;
    }
  }
  return "";
}

}  // namespace tezlo
