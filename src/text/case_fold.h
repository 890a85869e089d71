// Comparing texts without regard to letter case, the one place it is done: each character is
// replaced by its simple Unicode case folding ("A" and "a" give the same character). Bytes that
// are not valid UTF-8 read as the text made valid reads (valid_utf8.h) in FoldForSearch, compare
// by byte equality in EqualsIgnoringCase, and make the exact comparisons say "nothing".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

// One unit per character of the UTF-8 text, case-folded. Each maximal subpart of an ill-formed
// sequence is one U+FFFD, as ValidUtf8 makes it: the units are those of the text made valid.
std::u32string FoldForSearch(std::string_view utf8);

// Whether `a` and `b` fold to the same characters; nothing when either is not valid UTF-8.
// Cheap: no allocation, stops at the first differing character.
std::optional<bool> SimpleFoldEquals(std::string_view a, std::string_view b);

// One text folded once, compared with many: what a lookup does over a column.
class FoldedText {
 public:
  explicit FoldedText(std::string_view text);
  // Whether the text was valid UTF-8.
  bool Valid() const { return valid_; }
  // Whether `other` folds to the same characters; nothing when `other` turns out not to be
  // valid UTF-8 before the answer is known. Stops at the first differing character.
  std::optional<bool> Equals(std::string_view other) const;

 private:
  std::vector<int32_t> folded_;
  bool valid_ = true;
};

// SimpleFoldEquals, falling back to byte equality for invalid UTF-8.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Characters (code points) of valid UTF-8 text; nothing for invalid UTF-8.
std::optional<size_t> CodePointCount(std::string_view text);

}  // namespace tezlo
