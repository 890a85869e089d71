// The in-memory host: the active window's cursor, selection and scroll position.
#include <algorithm>

#include "host/host_error.h"
#include "host/range_functions.h"
#include "memory/memory_host.h"

namespace tezlo {

Cell MemoryHost::ActiveCell() { return ActiveSheetModel().View().selection.active; }

Selection MemoryHost::GetSelection() { return ActiveSheetModel().View().selection; }

void MemoryHost::Select(const Selection& selection) {
  Sheet& sheet = ActiveSheetModel();
  sheet.View().selection =
      OrderedSelection(selection, [&sheet](const Area& area) { sheet.Check(area); });
  ScrollIntoView(sheet, selection.active);
}

void MemoryHost::ActivateCell(Cell cell) {
  Sheet& sheet = ActiveSheetModel();
  sheet.Check(cell);
  Selection& selection = sheet.View().selection;
  const bool inside = std::any_of(selection.areas.begin(), selection.areas.end(),
                                  [&](const Area& a) { return a.Contains(cell); });
  if (!inside) selection.areas = {Area::Of(cell)};
  selection.active = cell;
  ScrollIntoView(sheet, cell);
}

void MemoryHost::ScrollIntoView(Sheet& sheet, Cell cell) {
  Cell& scroll = sheet.View().scroll;
  const int32_t rows = std::max(settings_.visibleRows, 1);
  const int32_t cols = std::max(settings_.visibleCols, 1);
  if (cell.row < scroll.row) scroll.row = cell.row;
  if (int64_t{cell.row} >= int64_t{scroll.row} + rows) scroll.row = cell.row - rows + 1;
  if (cell.col < scroll.col) scroll.col = cell.col;
  if (int64_t{cell.col} >= int64_t{scroll.col} + cols) scroll.col = cell.col - cols + 1;
}

Cell MemoryHost::TopLeftVisibleCell() { return ActiveSheetModel().View().scroll; }

void MemoryHost::SetScrollRow(int32_t row) {
  Sheet& sheet = ActiveSheetModel();
  if (row < 1) throw HostError("scroll row below 1");
  sheet.View().scroll.row = std::min(row, sheet.Rows());
}

void MemoryHost::SetScrollColumn(int32_t col) {
  Sheet& sheet = ActiveSheetModel();
  if (col < 1) throw HostError("scroll column below 1");
  sheet.View().scroll.col = std::min(col, sheet.Cols());
}

void MemoryHost::BeginEditing() {
  Active();
  editingRequested_ = true;
}

}  // namespace tezlo
