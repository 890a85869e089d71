#include "memory/case_fold.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace tezlo {

std::optional<bool> SimpleFoldEquals(std::string_view a, std::string_view b) {
  const auto* pa = reinterpret_cast<const uint8_t*>(a.data());
  const auto* pb = reinterpret_cast<const uint8_t*>(b.data());
  const auto na = static_cast<int32_t>(a.size());
  const auto nb = static_cast<int32_t>(b.size());
  int32_t ia = 0;
  int32_t ib = 0;
  bool equal = true;
  while (ia < na && ib < nb) {
    UChar32 ca = 0;
    UChar32 cb = 0;
    U8_NEXT(pa, ia, na, ca);
    U8_NEXT(pb, ib, nb, cb);
    if (ca < 0 || cb < 0) return std::nullopt;
    if (ca != cb && u_foldCase(ca, U_FOLD_CASE_DEFAULT) != u_foldCase(cb, U_FOLD_CASE_DEFAULT)) {
      equal = false;
      break;
    }
  }
  if (equal) return ia == na && ib == nb;
  // Different: still report invalid UTF-8 in the rest so callers can fall back.
  if (!CodePointCount(a.substr(static_cast<size_t>(ia))) ||
      !CodePointCount(b.substr(static_cast<size_t>(ib)))) {
    return std::nullopt;
  }
  return false;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return SimpleFoldEquals(a, b).value_or(a == b);
}

std::optional<size_t> CodePointCount(std::string_view text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.data());
  const auto n = static_cast<int32_t>(text.size());
  int32_t i = 0;
  size_t count = 0;
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(p, i, n, c);
    if (c < 0) return std::nullopt;
    ++count;
  }
  return count;
}

}  // namespace tezlo
