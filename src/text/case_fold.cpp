#include "text/case_fold.h"

#include <cstdint>

#include "text/unicode.h"

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
    const int32_t c = NextCodePoint(bytes, i, length);
    out.push_back(c < 0 ? kStrayByteBase + bytes[start] : static_cast<char32_t>(FoldCodePoint(c)));
  }
  return out;
}

}  // namespace tezlo
