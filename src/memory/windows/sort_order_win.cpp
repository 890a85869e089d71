// The order Range.Sort puts values in, on Windows: texts compare with the zh-CN linguistic
// collation of the national-language API (pinyin order for Chinese, Latin before Han, case
// ignored), the rest as on every platform.
#include <windows.h>

#include <string>

#include "memory/sort_order.h"
#include "memory/windows/unicode_win.h"

namespace tezlo {

namespace {

int CompareText(const std::string& a, const std::string& b) {
  const std::wstring wa = win::WideOf(a);
  const std::wstring wb = win::WideOf(b);
  const int r = CompareStringEx(L"zh-CN", LINGUISTIC_IGNORECASE, wa.c_str(),
                                static_cast<int>(wa.size()), wb.c_str(),
                                static_cast<int>(wb.size()), nullptr, nullptr, 0);
  if (r == CSTR_LESS_THAN) return -1;
  if (r == CSTR_EQUAL) return 0;
  if (r == CSTR_GREATER_THAN) return 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);  // no collation data: byte order
}

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
    case 1: return CompareText(a.AsText(), b.AsText());
    case 2: return static_cast<int>(a.AsBoolean()) - static_cast<int>(b.AsBoolean());
    default: return 0;
  }
}

}  // namespace tezlo
