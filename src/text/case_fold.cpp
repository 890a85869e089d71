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

FoldedText::FoldedText(std::string_view text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.data());
  const auto n = static_cast<int32_t>(text.size());
  int32_t i = 0;
  while (i < n) {
    const int32_t c = NextCodePoint(p, i, n);
    if (c < 0) {
      valid_ = false;
      return;
    }
    folded_.push_back(FoldCodePoint(c));
  }
}

std::optional<bool> FoldedText::Equals(std::string_view other) const {
  if (!valid_) return std::nullopt;
  const auto* p = reinterpret_cast<const uint8_t*>(other.data());
  const auto n = static_cast<int32_t>(other.size());
  int32_t i = 0;
  size_t k = 0;
  while (i < n) {
    const int32_t c = NextCodePoint(p, i, n);
    if (c < 0) return std::nullopt;
    if (k == folded_.size() || FoldCodePoint(c) != folded_[k]) return false;
    ++k;
  }
  return k == folded_.size();
}

std::optional<bool> SimpleFoldEquals(std::string_view a, std::string_view b) {
  const FoldedText folded(a);
  if (!folded.Valid()) return std::nullopt;
  return folded.Equals(b);
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
    const int32_t c = NextCodePoint(p, i, n);
    if (c < 0) return std::nullopt;
    ++count;
  }
  return count;
}

}  // namespace tezlo
