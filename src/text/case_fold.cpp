#include "text/case_fold.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

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
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      out.push_back(kStrayByteBase + bytes[start]);
      i = start + 1;
    } else {
      out.push_back(static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT)));
    }
  }
  return out;
}

}  // namespace tezlo
