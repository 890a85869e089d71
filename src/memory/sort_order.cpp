#include "memory/sort_order.h"

#include "text/unicode.h"

namespace tezlo {

namespace {

// Rank of the kinds in ascending order; empty values go last.
int Rank(const Value& v) {
  switch (v.Kind()) {
    case ValueKind::Number:
    case ValueKind::Date: return 0;
    case ValueKind::Text: return 1;
    case ValueKind::Boolean: return 2;
    case ValueKind::Error: return 3;
    case ValueKind::Empty: return 4;
  }
  return 4;
}

}  // namespace

int CompareForSort(const Value& a, const Value& b) {
  const int ra = Rank(a);
  const int rb = Rank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  switch (ra) {
    case 0: {
      const double x = a.AsNumber();
      const double y = b.AsNumber();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 1: return CompareChinese(a.AsText(), b.AsText());
    case 2: return static_cast<int>(a.AsBoolean()) - static_cast<int>(b.AsBoolean());
    default: return 0;
  }
}

}  // namespace tezlo
