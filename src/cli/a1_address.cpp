#include "cli/a1_address.h"

#include <algorithm>
#include <vector>

namespace tezlo {

std::optional<Area> ParseAreaAddress(std::string_view text, GridSize grid) {
  const std::vector<FormulaRef> refs = FindFormulaRefs(text, grid);
  if (refs.size() != 1) return std::nullopt;
  const FormulaRef& ref = refs.front();
  if (ref.sheet || ref.begin != 0 || ref.end != text.size()) return std::nullopt;
  const int32_t row1 = std::min(ref.first.row, ref.last.row);
  const int32_t row2 = std::max(ref.first.row, ref.last.row);
  const int32_t col1 = std::min(ref.first.col, ref.last.col);
  const int32_t col2 = std::max(ref.first.col, ref.last.col);
  switch (ref.kind) {
    case FormulaRef::Kind::Cell:
    case FormulaRef::Kind::Area:
      return Area::Of(row1, col1, row2, col2);
    case FormulaRef::Kind::Columns:
      return Area::Of(1, col1, grid.rows, col2);
    case FormulaRef::Kind::Rows:
      return Area::Of(row1, 1, row2, grid.cols);
  }
  return std::nullopt;
}

std::string CellAddress(Cell cell) {
  FormulaRef ref;
  ref.first = RefEnd{cell.row, cell.col, false, false};
  ref.last = ref.first;
  return FormatRef(ref);
}

std::string AreaAddress(const Area& area) {
  if (area.first == area.last) return CellAddress(area.first);
  return CellAddress(area.first) + ":" + CellAddress(area.last);
}

}  // namespace tezlo
