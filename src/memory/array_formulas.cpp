#include "memory/array_formulas.h"

#include <algorithm>
#include <functional>
#include <map>
#include <queue>
#include <utility>

#include "host/host_error.h"
#include "memory/reference_shift.h"

namespace tezlo {

namespace {

constexpr const char* kPartOfArray = "cannot change part of an array";

bool Meets(const Area& a, const Area& b) {
  return a.first.row <= b.last.row && b.first.row <= a.last.row && a.first.col <= b.last.col &&
         b.first.col <= a.last.col;
}

bool Inside(const Area& inner, const Area& outer) {
  return outer.Contains(inner.first) && outer.Contains(inner.last);
}

}  // namespace

std::vector<Area> ArraysMeeting(const Sheet& sheet, const Area& area) {
  std::vector<Area> out;
  const ArrayExtent reach = sheet.ArrayReach();
  if (!reach.Any() || sheet.FormulaCountBound() == 0) return out;
  // An anchor lies at most reach - 1 rows above and columns left of a cell its array covers.
  const int32_t firstRow = std::max(1, area.first.row - reach.rows + 1);
  const int32_t firstCol = std::max(1, area.first.col - reach.cols + 1);
  const auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(firstCol); it != columns.end() && it->first <= area.last.col;
       ++it) {
    for (ColumnStore::Cursor cur = it->second.Seek(firstRow);
         cur.Valid() && cur.Row() <= area.last.row; cur.Next()) {
      const std::optional<Area> block = cur.Record().ArrayArea(Cell{cur.Row(), it->first});
      if (block && Meets(*block, area)) out.push_back(*block);
    }
  }
  return out;
}

std::vector<Area> AllArrays(const Sheet& sheet) {
  std::vector<Area> out;
  if (!sheet.ArrayReach().Any() || sheet.FormulaCountBound() == 0) return out;
  for (const auto& [col, store] : sheet.Columns()) {
    store.ForEachFormula([&out, col = col](int32_t row, const CellRecord& r) {
      if (const std::optional<Area> block = r.ArrayArea(Cell{row, col})) out.push_back(*block);
    });
  }
  return out;
}

std::vector<Cell> BrokenArrays(const Sheet& sheet) {
  std::vector<Area> blocks = AllArrays(sheet);
  std::sort(blocks.begin(), blocks.end(), [](const Area& a, const Area& b) {
    return a.first.row != b.first.row ? a.first.row < b.first.row : a.first.col < b.first.col;
  });
  std::vector<Cell> broken;
  // A sweep down the rows: the column spans of the arrays covering the current row, which never
  // overlap each other, by first column (-> last column), and when each one ends.
  std::map<int32_t, int32_t> spans;
  using Ending = std::pair<int32_t, int32_t>;  // last row, first column
  std::priority_queue<Ending, std::vector<Ending>, std::greater<>> endings;
  for (const Area& block : blocks) {
    while (!endings.empty() && endings.top().first < block.first.row) {
      spans.erase(endings.top().second);
      endings.pop();
    }
    // Of spans that never overlap, only the one starting last at or before the block's last
    // column can reach its first.
    auto it = spans.upper_bound(block.last.col);
    bool bad = it != spans.begin() && std::prev(it)->second >= block.first.col;
    for (auto col = sheet.Columns().lower_bound(block.first.col);
         !bad && col != sheet.Columns().end() && col->first <= block.last.col; ++col) {
      for (ColumnStore::Cursor cur = col->second.Seek(block.first.row);
           cur.Valid() && cur.Row() <= block.last.row; cur.Next()) {
        if (cur.Record().HasFormula() && Cell{cur.Row(), col->first} != block.first) {
          bad = true;
          break;
        }
      }
    }
    if (bad) {
      broken.push_back(block.first);
      continue;
    }
    spans[block.first.col] = block.last.col;
    endings.emplace(block.last.row, block.first.col);
  }
  return broken;
}

void CheckNoPartOfArray(const Sheet& sheet, const Area& area) {
  for (const Area& block : ArraysMeeting(sheet, area)) {
    if (!Inside(block, area)) throw HostError(kPartOfArray);
  }
}

void CheckArraysShift(const Sheet& sheet, const RefShift& shift) {
  for (const Area& block : AllArrays(sheet)) {
    if (MovesPartOf(block, shift)) throw HostError(kPartOfArray);
    if (!shift.insert) continue;
    // Moved whole: it must still fit on the sheet.
    const std::optional<Area> moved = ShiftRange(block, shift);
    if (!moved || moved->Rows() != block.Rows() || moved->Cols() != block.Cols()) {
      throw HostError("cannot shift an array off the sheet");
    }
  }
}

void CheckArraysSort(const Sheet& sheet, const Area& area) {
  for (const Area& block : ArraysMeeting(sheet, area)) {
    const bool oneRowWithin =
        block.Rows() == 1 && block.first.col >= area.first.col && block.last.col <= area.last.col;
    if (!oneRowWithin) throw HostError(kPartOfArray);
  }
}

}  // namespace tezlo
