// Comparing texts without regard to case, by Unicode simple case folding of each character.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tezlo {

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
