#include "memory/size_texts.h"

#include <algorithm>

namespace tezlo {

namespace {

// Rows that keep a text of their own; past this many, the others are written as numbers.
constexpr size_t kMaxOwnRowTexts = size_t{1} << 17;

}  // namespace

void SizeTexts::NoteColumns(int32_t first, int32_t last, double chars, std::string_view width) {
  if (columns_.empty() || columns_.back().last < first) {
    columns_.push_back(ColumnText{first, last, chars, std::string(width)});
  } else {
    // Listed out of order or overlapping (a damaged file): the later listing wins where it
    // covers, as it does for the widths.
    std::vector<ColumnText> kept;
    for (ColumnText& c : columns_) {
      if (c.last < first || c.first > last) {
        kept.push_back(std::move(c));
        continue;
      }
      if (c.first < first) kept.push_back(ColumnText{c.first, first - 1, c.chars, c.text});
      if (c.last > last) kept.push_back(ColumnText{last + 1, c.last, c.chars, c.text});
    }
    kept.push_back(ColumnText{first, last, chars, std::string(width)});
    std::sort(kept.begin(), kept.end(),
              [](const ColumnText& a, const ColumnText& b) { return a.first < b.first; });
    columns_ = std::move(kept);
  }
  if (chars != 0) widths_.try_emplace(chars, width);
}

void SizeTexts::NoteRow(int32_t row, double points, std::string_view height) {
  rows_.erase(row);
  if (rows_.size() < kMaxOwnRowTexts) rows_.emplace(row, RowText{points, std::string(height)});
}

const std::string* SizeTexts::ColumnWidth(int32_t col, double chars) const {
  const auto it = std::upper_bound(columns_.begin(), columns_.end(), col,
                                   [](int32_t c, const ColumnText& t) { return c < t.first; });
  if (it != columns_.begin() && std::prev(it)->last >= col && std::prev(it)->chars == chars) {
    return &std::prev(it)->text;
  }
  const auto w = widths_.find(chars);
  return w == widths_.end() ? nullptr : &w->second;
}

std::vector<int32_t> SizeTexts::ColumnCuts() const {
  std::vector<int32_t> cuts;
  cuts.reserve(columns_.size() * 2);
  for (const ColumnText& c : columns_) {
    cuts.push_back(c.first);
    cuts.push_back(c.last + 1);
  }
  return cuts;
}

const std::string* SizeTexts::RowHeight(int32_t row, double points) const {
  const auto own = rows_.find(row);
  return own != rows_.end() && own->second.points == points ? &own->second.text : nullptr;
}

}  // namespace tezlo
