// The Calc host: the active document's cursor, selection and scroll position.
#include <algorithm>

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XViewPane.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include "calc/calc_host.h"
#include "host/host_error.h"

namespace tezlo {

namespace uno = css::uno;
using css::table::CellRangeAddress;

namespace {

Area AreaOf(const CellRangeAddress& a) {
  return Area::Of(a.StartRow + 1, a.StartColumn + 1, a.EndRow + 1, a.EndColumn + 1);
}

}  // namespace

std::vector<Area> CalcHost::SelectedAreas(int32_t book) {
  const uno::Reference<css::view::XSelectionSupplier> view(View(book), uno::UNO_QUERY_THROW);
  const uno::Any selected = view->getSelection();
  std::vector<Area> areas;
  if (const uno::Reference<css::sheet::XSheetCellRanges> ranges{selected, uno::UNO_QUERY}; ranges.is()) {
    for (const CellRangeAddress& a : ranges->getRangeAddresses()) areas.push_back(AreaOf(a));
  } else if (const uno::Reference<css::sheet::XCellRangeAddressable> range{selected, uno::UNO_QUERY};
             range.is()) {
    areas.push_back(AreaOf(range->getRangeAddress()));
  }
  // A selection of something else (a drawing, a comment being edited) leaves the cells' one.
  if (areas.empty()) areas.push_back(Area::Of(Cell{1, 1}));
  return areas;
}

Cell CalcHost::ActiveCell() { return GetSelection().active; }

Selection CalcHost::GetSelection() {
  const SheetRef sheet = ActiveSheet();
  Selection s;
  s.areas = SelectedAreas(sheet.book);
  const auto& chosen = BookAt(sheet.book).chosen;
  const auto it = chosen.find(sheet.sheet);
  // The API does not say which cell of the selection is active: the one chosen with the same
  // selection is, otherwise the first cell of the first area (where Calc puts its cursor on a
  // selection made through the API).
  s.active = it != chosen.end() && it->second.areas == s.areas ? it->second.active : s.areas.front().first;
  return s;
}

void CalcHost::Select(const Selection& selection) {
  const SheetRef sheet = ActiveSheet();
  if (selection.areas.empty()) throw HostError("nothing to select");
  Selection chosen;
  chosen.active = selection.active;
  bool activeInside = false;
  for (const Area& a : selection.areas) {
    const Area area = Area::Of(std::min(a.first.row, a.last.row), std::min(a.first.col, a.last.col),
                               std::max(a.first.row, a.last.row), std::max(a.first.col, a.last.col));
    Check(sheet, area);
    activeInside = activeInside || area.Contains(selection.active);
    chosen.areas.push_back(area);
  }
  if (!activeInside) throw HostError("the active cell lies outside the selection");
  const uno::Reference<css::view::XSelectionSupplier> view(View(sheet.book), uno::UNO_QUERY_THROW);
  if (chosen.areas.size() == 1) {
    view->select(uno::Any(RangeOf(sheet, chosen.areas.front())));
  } else {
    const uno::Reference<css::lang::XMultiServiceFactory> factory(BookAt(sheet.book).doc, uno::UNO_QUERY_THROW);
    const uno::Reference<css::sheet::XSheetCellRangeContainer> ranges(
        factory->createInstance("com.sun.star.sheet.SheetCellRanges"), uno::UNO_QUERY_THROW);
    for (const Area& a : chosen.areas) ranges->addRangeAddress(AddressOf(sheet, a), false);
    view->select(uno::Any(ranges));
  }
  // What Calc reports back (overlapping areas may come back joined) is what is remembered.
  chosen.areas = SelectedAreas(sheet.book);
  BookAt(sheet.book).chosen[sheet.sheet] = chosen;
}

void CalcHost::ActivateCell(Cell cell) {
  const SheetRef sheet = ActiveSheet();
  Check(sheet, cell);
  Selection s = GetSelection();
  const bool inside = std::any_of(s.areas.begin(), s.areas.end(), [&](const Area& a) { return a.Contains(cell); });
  if (!inside) {
    Select(Selection{{Area::Of(cell)}, cell});
    return;
  }
  s.active = cell;
  BookAt(sheet.book).chosen[sheet.sheet] = s;
}

Cell CalcHost::TopLeftVisibleCell() {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  return Cell{pane->getFirstVisibleRow() + 1, pane->getFirstVisibleColumn() + 1};
}

void CalcHost::SetScrollRow(int32_t row) {
  const SheetRef sheet = ActiveSheet();
  if (row < 1) throw HostError("scroll row below 1");
  const uno::Reference<css::sheet::XViewPane> pane(View(sheet.book), uno::UNO_QUERY_THROW);
  pane->setFirstVisibleRow(std::min(row, RowsCount()) - 1);
}

void CalcHost::SetScrollColumn(int32_t col) {
  const SheetRef sheet = ActiveSheet();
  if (col < 1) throw HostError("scroll column below 1");
  const uno::Reference<css::sheet::XViewPane> pane(View(sheet.book), uno::UNO_QUERY_THROW);
  pane->setFirstVisibleColumn(std::min(col, ColumnsCount()) - 1);
}

int32_t CalcHost::VisibleRows() {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  const CellRangeAddress a = pane->getVisibleRange();
  return a.EndRow - a.StartRow + 1;
}

int32_t CalcHost::VisibleColumns() {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  const CellRangeAddress a = pane->getVisibleRange();
  return a.EndColumn - a.StartColumn + 1;
}

void CalcHost::BeginEditing() {
  ActiveBook();
  throw HostError("opening a cell for editing is not available in LibreOffice yet");
}

}  // namespace tezlo
