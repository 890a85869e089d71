// Case folding for search on Windows (no ICU there): the same units as on other platforms, the
// folding of each character done by the national-language API.
#include "text/case_fold.h"

#include <cstdint>

#include "memory/windows/unicode_win.h"

namespace tezlo {
namespace {

// Units for stray bytes lie above the last code point, out of reach of any character.
constexpr char32_t kStrayByteBase = 0x110000;

}  // namespace

std::u32string FoldForSearch(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  int32_t i = 0;
  while (i < length) {
    const int32_t start = i;
    const int32_t c = win::NextCodePoint(bytes, i, length);
    if (c < 0) {
      out.push_back(kStrayByteBase + bytes[start]);
      i = start + 1;
    } else {
      out.push_back(static_cast<char32_t>(win::FoldCodePoint(c)));
    }
  }
  return out;
}

}  // namespace tezlo
