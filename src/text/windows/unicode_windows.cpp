// The Unicode services on Windows, where ICU is not available: decoding as the Unicode standard
// defines well-formed UTF-8, folding by the national-language API's invariant lower-case mapping,
// and the zh-CN linguistic collation of CompareStringEx.
#include <windows.h>

#include <string>

#include "text/windows/unicode_win.h"
#include "text/unicode.h"

namespace tezlo {

int32_t FoldCodePoint(int32_t c) { return win::FoldCodePoint(c); }

int CompareChinese(std::string_view a, std::string_view b) {
  const std::wstring wa = win::WideOf(a);
  const std::wstring wb = win::WideOf(b);
  const int r =
      CompareStringEx(L"zh-CN", LINGUISTIC_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()),
                      wb.c_str(), static_cast<int>(wb.size()), nullptr, nullptr, 0);
  if (r == CSTR_LESS_THAN) return -1;
  if (r == CSTR_EQUAL) return 0;
  if (r == CSTR_GREATER_THAN) return 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace tezlo
