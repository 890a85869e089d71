#include "memory/range_sort.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/range_copy.h"
#include "memory/sort_order.h"

namespace tezlo {

void SortRows(Sheet& sheet, const Area& area, int32_t keyColumn, bool descending) {
  sheet.Check(area);
  if (keyColumn < area.first.col || keyColumn > area.last.col) {
    throw HostError("the sort key lies outside the area");
  }
  CheckArraysSort(sheet, area);
  const int32_t top = area.first.row;
  const int32_t bottom = area.last.row;

  // Rows whose key holds a value, top to bottom, and those values.
  std::vector<int32_t> keyed;
  std::vector<Value> keys;
  if (const ColumnStore* store = sheet.Column(keyColumn)) {
    for (ColumnStore::Cursor cur = store->Seek(top); cur.Valid() && cur.Row() <= bottom;
         cur.Next()) {
      if (cur.Record().value.IsEmpty()) continue;
      keyed.push_back(cur.Row());
      keys.push_back(cur.Record().value);
    }
  }
  std::vector<size_t> order(keyed.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int c = CompareForSort(keys[a], keys[b]);
    return descending ? c > 0 : c < 0;
  });
  std::vector<int32_t> keyedTarget(keyed.size());
  for (size_t pos = 0; pos < order.size(); ++pos) {
    keyedTarget[order[pos]] = top + static_cast<int32_t>(pos);
  }
  const auto keyedCount = static_cast<int32_t>(keyed.size());
  // Keyed rows take the sorted positions; every other row (filled or not) follows them in its
  // present order.
  auto target = [&](int32_t row) {
    const auto it = std::lower_bound(keyed.begin(), keyed.end(), row);
    const auto before = static_cast<int32_t>(it - keyed.begin());
    if (it != keyed.end() && *it == row) return keyedTarget[static_cast<size_t>(before)];
    return top + keyedCount + (row - top - before);
  };

  // Cells holding only a format move row by row too: they become records for the sort.
  for (int32_t col = area.first.col; col <= area.last.col; ++col)
    sheet.TakeRunsIntoRecords(col, top, bottom);
  const GridSize grid{sheet.Rows(), sheet.Cols()};
  auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    std::vector<ColumnStore::Entry> entries = it->second.Extract(top, bottom);
    for (ColumnStore::Entry& e : entries) {
      // A formula moves with its row and reads as if copied there.
      const int32_t to = target(e.row);
      MoveFormulaWithCell(e.record, to - e.row, 0, grid);
      e.row = to;
    }
    std::sort(entries.begin(), entries.end(),
              [](const ColumnStore::Entry& a, const ColumnStore::Entry& b) {
                return a.row < b.row;
              });
    it->second.InsertRun(std::move(entries));
  }
}

}  // namespace tezlo
