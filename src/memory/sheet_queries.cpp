#include "memory/sheet_queries.h"

#include <algorithm>
#include <string_view>

#include "host/host_error.h"
#include "text/case_fold.h"
#include "memory/wildcard.h"

namespace tezlo {

namespace {

// Compares cell values with one lookup value the way MATCH type 0 does.
class MatchTest {
 public:
  explicit MatchTest(const Value& lookup)
      : lookup_(lookup), folded_(lookup.IsText() ? lookup.AsText() : std::string_view()) {
    if (lookup.IsEmpty() || lookup.IsError()) throw HostError("Match has no value to look up");
    if (lookup.IsText()) {
      literal_ = lookup.AsText().find_first_of("*?~") == std::string::npos;
    }
  }

  bool operator()(const Value& v) const {
    switch (lookup_.Kind()) {
      case ValueKind::Number:
      case ValueKind::Date:
        return (v.IsNumber() || v.IsDate()) && v.AsNumber() == lookup_.AsNumber();
      case ValueKind::Boolean: return v.IsBoolean() && v.AsBoolean() == lookup_.AsBoolean();
      case ValueKind::Text: return v.IsText() && TextMatches(v.AsText());
      default: return false;
    }
  }

 private:
  bool TextMatches(std::string_view text) const {
    const std::string& pattern = lookup_.AsText();
    if (literal_) {
      // Without wildcards the pattern matches exactly the texts that fold to it; the
      // character-wise comparison rejects most cells at their first character.
      if (text == pattern) return true;
      if (const std::optional<bool> same = folded_.Equals(text)) return *same;
    }
    return WildcardMatches(pattern, text);
  }

  const Value& lookup_;
  const FoldedText folded_;
  bool literal_ = false;
};

}  // namespace

int64_t CountContent(const Sheet& sheet, const Area& area) {
  int64_t n = 0;
  const auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    n += it->second.CountContent(area.first.row, area.last.row);
  }
  return n;
}

int32_t MatchExact(const Sheet& sheet, const Value& lookup, const Area& area) {
  if (area.Rows() != 1 && area.Cols() != 1) throw HostError("Match needs one row or one column");
  const MatchTest matches(lookup);
  if (area.Cols() == 1) {
    const ColumnStore* store = sheet.Column(area.first.col);
    if (store != nullptr) {
      const std::optional<int32_t> row =
          store->FindFirst(area.first.row, area.last.row,
                           [&](const CellRecord& r) { return matches(r.value); });
      if (row) return *row - area.first.row + 1;
    }
  } else {
    const auto& columns = sheet.Columns();
    for (auto it = columns.lower_bound(area.first.col);
         it != columns.end() && it->first <= area.last.col; ++it) {
      const CellRecord* r = it->second.Find(area.first.row);
      if (r != nullptr && matches(r->value)) return it->first - area.first.col + 1;
    }
  }
  throw HostError("Match found no equal value");
}

Area UsedArea(const Sheet& sheet) {
  int32_t top = INT32_MAX;
  int32_t bottom = 0;
  int32_t left = INT32_MAX;
  int32_t right = 0;
  for (const auto& [col, store] : sheet.Columns()) {
    if (store.Empty()) continue;
    top = std::min(top, store.FirstRow());
    bottom = std::max(bottom, store.LastRow());
    left = std::min(left, col);
    right = std::max(right, col);
  }
  for (const auto& [col, runs] : sheet.FormatRuns()) {
    if (runs.Empty()) continue;
    top = std::min(top, runs.Runs().begin()->first);
    bottom = std::max(bottom, runs.Runs().rbegin()->second.last);
    left = std::min(left, col);
    right = std::max(right, col);
  }
  if (right == 0) return Area::Of(Cell{1, 1});
  return Area::Of(top, left, bottom, right);
}

}  // namespace tezlo
