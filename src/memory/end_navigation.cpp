#include "memory/end_navigation.h"

#include <iterator>

namespace tezlo {

namespace {

bool HasContent(const Sheet& sheet, Cell c) {
  const CellRecord* r = sheet.Find(c);
  return r != nullptr && r->HasContent();
}

Cell Vertical(const Sheet& sheet, Cell from, bool down) {
  const ColumnStore* store = sheet.Column(from.col);
  const int32_t edge = down ? sheet.Rows() : 1;
  if (from.row == edge) return from;
  if (store == nullptr) return Cell{edge, from.col};
  const int32_t step = down ? 1 : -1;
  if (store->HasContent(from.row) && store->HasContent(from.row + step)) {
    return Cell{down ? store->RunEndDown(from.row) : store->RunEndUp(from.row), from.col};
  }
  const std::optional<int32_t> next =
      down ? store->NextContent(from.row) : store->PrevContent(from.row);
  return Cell{next.value_or(edge), from.col};
}

Cell Horizontal(const Sheet& sheet, Cell from, bool right) {
  const int32_t edge = right ? sheet.Cols() : 1;
  if (from.col == edge) return from;
  const int32_t step = right ? 1 : -1;
  const auto& columns = sheet.Columns();
  if (HasContent(sheet, from) && HasContent(sheet, Cell{from.row, from.col + step})) {
    // Walk the unbroken run over the stored columns.
    int32_t col = from.col + step;
    if (right) {
      for (auto it = columns.find(col); it != columns.end(); ++it) {
        if (it->first != col || !it->second.HasContent(from.row)) break;
        col = it->first + 1;
      }
      return Cell{from.row, col - 1};
    }
    for (auto it = std::make_reverse_iterator(std::next(columns.find(col))); it != columns.rend();
         ++it) {
      if (it->first != col || !it->second.HasContent(from.row)) break;
      col = it->first - 1;
    }
    return Cell{from.row, col + 1};
  }
  if (right) {
    for (auto it = columns.upper_bound(from.col); it != columns.end(); ++it) {
      if (it->second.HasContent(from.row)) return Cell{from.row, it->first};
    }
  } else {
    for (auto it = std::make_reverse_iterator(columns.lower_bound(from.col)); it != columns.rend();
         ++it) {
      if (it->second.HasContent(from.row)) return Cell{from.row, it->first};
    }
  }
  return Cell{from.row, edge};
}

}  // namespace

Cell EndOf(const Sheet& sheet, Cell from, Direction direction) {
  switch (direction) {
    case Direction::Down: return Vertical(sheet, from, true);
    case Direction::Up: return Vertical(sheet, from, false);
    case Direction::ToRight: return Horizontal(sheet, from, true);
    case Direction::ToLeft: return Horizontal(sheet, from, false);
  }
  return from;
}

}  // namespace tezlo
