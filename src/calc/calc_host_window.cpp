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
#include "calc/uno_errors.h"
#include "host/host_error.h"
#include "host/range_functions.h"

namespace tezlo {

namespace uno = css::uno;
using css::table::CellRangeAddress;

namespace {

Area AreaOf(const CellRangeAddress& a) {
  return Area::Of(a.StartRow + 1, a.StartColumn + 1, a.EndRow + 1, a.EndColumn + 1);
}

}  // namespace

std::vector<Area> CalcHost::SelectedAreas(int32_t book) try {
  const uno::Reference<css::view::XSelectionSupplier> view(View(book), uno::UNO_QUERY_THROW);
  const uno::Any selected = view->getSelection();
  std::vector<Area> areas;
  if (const uno::Reference<css::sheet::XSheetCellRanges> ranges{selected, uno::UNO_QUERY};
      ranges.is()) {
    for (const CellRangeAddress& a : ranges->getRangeAddresses()) areas.push_back(AreaOf(a));
  } else if (const uno::Reference<css::sheet::XCellRangeAddressable> range{selected,
                                                                           uno::UNO_QUERY};
             range.is()) {
    areas.push_back(AreaOf(range->getRangeAddress()));
  }
  // A selection of something else (a drawing, a comment being edited) leaves the cells' one.
  if (areas.empty()) areas.push_back(Area::Of(Cell{1, 1}));
  return areas;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Cell CalcHost::ActiveCell() try {
  return GetSelection().active;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Selection CalcHost::GetSelection() try {
  const SheetRef sheet = ActiveSheet();
  Selection s;
  s.areas = SelectedAreas(sheet.book);
  const auto& chosen = BookAt(sheet.book).chosen;
  const auto it = chosen.find(sheet.sheet);
  // The API does not say which cell of the selection is active: while the document shows the
  // selection the host made, that one (with its areas as given) stands; otherwise the first cell
  // of the first area (where Calc puts its cursor on a selection made through the API).
  if (it != chosen.end() && it->second.reported == s.areas) return it->second.selection;
  s.active = s.areas.front().first;
  return s;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::Select(const Selection& selection) try {
  const SheetRef sheet = ActiveSheet();
  const Selection chosen =
      OrderedSelection(selection, [&](const Area& area) { Check(sheet, area); });
  const uno::Reference<css::view::XSelectionSupplier> view(View(sheet.book), uno::UNO_QUERY_THROW);
  if (chosen.areas.size() == 1) {
    view->select(uno::Any(RangeOf(sheet, chosen.areas.front())));
  } else {
    const uno::Reference<css::lang::XMultiServiceFactory> factory(BookAt(sheet.book).doc,
                                                                  uno::UNO_QUERY_THROW);
    const uno::Reference<css::sheet::XSheetCellRangeContainer> ranges(
        factory->createInstance("com.sun.star.sheet.SheetCellRanges"), uno::UNO_QUERY_THROW);
    for (const Area& a : chosen.areas) ranges->addRangeAddress(AddressOf(sheet, a), false);
    view->select(uno::Any(ranges));
  }
  BookAt(sheet.book).chosen[sheet.sheet] = Book::Chosen{chosen, SelectedAreas(sheet.book)};
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ActivateCell(Cell cell) try {
  const SheetRef sheet = ActiveSheet();
  Check(sheet, cell);
  Selection s = GetSelection();
  const bool inside =
      std::any_of(s.areas.begin(), s.areas.end(), [&](const Area& a) { return a.Contains(cell); });
  if (!inside) {
    Select(Selection{{Area::Of(cell)}, cell});
    return;
  }
  s.active = cell;
  BookAt(sheet.book).chosen[sheet.sheet] = Book::Chosen{s, SelectedAreas(sheet.book)};
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Cell CalcHost::TopLeftVisibleCell() try {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  return Cell{pane->getFirstVisibleRow() + 1, pane->getFirstVisibleColumn() + 1};
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetScrollRow(int32_t row) try {
  const SheetRef sheet = ActiveSheet();
  if (row < 1) throw HostError("scroll row below 1");
  const uno::Reference<css::sheet::XViewPane> pane(View(sheet.book), uno::UNO_QUERY_THROW);
  pane->setFirstVisibleRow(std::min(row, RowsCount()) - 1);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetScrollColumn(int32_t col) try {
  const SheetRef sheet = ActiveSheet();
  if (col < 1) throw HostError("scroll column below 1");
  const uno::Reference<css::sheet::XViewPane> pane(View(sheet.book), uno::UNO_QUERY_THROW);
  pane->setFirstVisibleColumn(std::min(col, ColumnsCount()) - 1);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::VisibleRows() try {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  const CellRangeAddress a = pane->getVisibleRange();
  return a.EndRow - a.StartRow + 1;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::VisibleColumns() try {
  const uno::Reference<css::sheet::XViewPane> pane(View(ActiveWorkbook()), uno::UNO_QUERY_THROW);
  const CellRangeAddress a = pane->getVisibleRange();
  return a.EndColumn - a.StartColumn + 1;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::BeginEditing() try {
  ActiveBook();
  throw HostError("opening a cell for editing is not available in LibreOffice yet");
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

}  // namespace tezlo
