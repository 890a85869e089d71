#include "text/case_fold.h"

#include <cstdint>

#include "text/unicode.h"
#include "text/valid_utf8.h"

namespace tezlo {

std::u32string FoldForSearch(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const Utf8Step step = NextUtf8(utf8, i);
    out.push_back(step.codePoint < 0 ? kReplacementCodePoint
                                     : static_cast<char32_t>(FoldCodePoint(step.codePoint)));
    i += step.length;
  }
  return out;
}

FoldedText::FoldedText(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    if (step.codePoint < 0) {
      valid_ = false;
      return;
    }
    folded_.push_back(FoldCodePoint(step.codePoint));
    i += step.length;
  }
}

std::optional<bool> FoldedText::Equals(std::string_view other) const {
  if (!valid_) return std::nullopt;
  size_t k = 0;
  for (size_t i = 0; i < other.size();) {
    const Utf8Step step = NextUtf8(other, i);
    if (step.codePoint < 0) return std::nullopt;
    if (k == folded_.size() || FoldCodePoint(step.codePoint) != folded_[k]) return false;
    ++k;
    i += step.length;
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
  size_t count = 0;
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    if (step.codePoint < 0) return std::nullopt;
    ++count;
    i += step.length;
  }
  return count;
}

}  // namespace tezlo
