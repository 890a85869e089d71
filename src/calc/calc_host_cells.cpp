// The Calc host: cell contents, navigation, worksheet functions, structure and comments.
#include <algorithm>
#include <string>
#include <string_view>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/CellDeleteMode.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/CellInsertMode.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangeMovement.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSpreadsheets2.hpp>
#include <com/sun/star/sheet/XFormulaTokens.hpp>
#include <com/sun/star/sheet/XFunctionAccess.hpp>
#include <com/sun/star/sheet/XSheetAnnotationAnchor.hpp>
#include <com/sun/star/sheet/XSheetAnnotations.hpp>
#include <com/sun/star/sheet/XSheetAnnotationsSupplier.hpp>
#include <com/sun/star/sheet/XSheetCellRange.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/TableSortField.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XSimpleText.hpp>
#include <com/sun/star/util/XSortable.hpp>

#include "calc/calc_host.h"
#include "calc/calc_number_formats.h"
#include "calc/calc_values.h"
#include "calc/uno_text.h"
#include "calc/uno_errors.h"
#include "host/host_error.h"
#include "memory/constant_text.h"
#include "memory/typed_entry.h"

namespace tezlo {

namespace uno = css::uno;
namespace CellFlags = css::sheet::CellFlags;
using css::table::CellRangeAddress;

namespace {

// What CountA, End and the refusal of a shift count as a cell's content: values, texts and
// formulas; a comment or a format alone is not.
constexpr sal_Int16 kContent =
    CellFlags::VALUE | CellFlags::DATETIME | CellFlags::STRING | CellFlags::FORMULA;

// The share of a date format a typed date takes (the zh-CN short date, as the memory engine).
constexpr const char* kShortDateFormat = "yyyy/m/d";

uno::Sequence<CellRangeAddress> Query(const uno::Reference<css::table::XCellRange>& range,
                                      sal_Int16 flags) {
  return uno::Reference<css::sheet::XCellRangesQuery>(range, uno::UNO_QUERY_THROW)
      ->queryContentCells(flags)
      ->getRangeAddresses();
}

// LibreOffice's undo of a block transfer (setDataArray) restores the cells that held something
// but leaves the new values in the cells that were empty. Copying each empty stretch onto itself
// first changes nothing, but gives the undo list an action that empties it again (a copy's undo
// clears its destination before restoring it).
void MakeEmptyCellsUndoable(const uno::Reference<css::table::XCellRange>& range) {
  const uno::Reference<css::sheet::XCellRangeMovement> movement(
      uno::Reference<css::sheet::XSheetCellRange>(range, uno::UNO_QUERY_THROW)->getSpreadsheet(),
      uno::UNO_QUERY_THROW);
  const uno::Reference<css::sheet::XCellRangesQuery> query(range, uno::UNO_QUERY_THROW);
  for (const CellRangeAddress& a : query->queryEmptyCells()->getRangeAddresses()) {
    movement->copyRange(css::table::CellAddress(a.Sheet, a.StartColumn, a.StartRow), a);
  }
}

int64_t CellsIn(const uno::Sequence<CellRangeAddress>& ranges) {
  int64_t n = 0;
  for (const CellRangeAddress& a : ranges) {
    n += (int64_t{a.EndRow} - a.StartRow + 1) * (int64_t{a.EndColumn} - a.StartColumn + 1);
  }
  return n;
}

// Calc keeps a note as paragraphs and reads each paragraph end back as one LF, so the CR LF pairs
// the tools write (the recent-codes note is split at them) would come back as LF. A CR LF is kept
// as a line separator inside the paragraph instead, which Calc shows as a line break and returns
// as it was given; an LF stays a paragraph end.
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLineSeparator = "\u2028";

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Refuses a malformed area or one reaching outside a sheet of the book's size.
template <typename BookSize>
void CheckInside(const Area& area, const BookSize& b) {
  if (area.first.row > area.last.row || area.first.col > area.last.col)
    throw HostError("malformed area");
  if (area.first.row < 1 || area.first.col < 1 || area.last.row > b.rows || area.last.col > b.cols)
    throw HostError("cell outside the sheet");
}

css::table::CellAddress CellAddressOf(SheetRef sheet, Cell cell) {
  return css::table::CellAddress(static_cast<sal_Int16>(sheet.sheet - 1), cell.col - 1,
                                 cell.row - 1);
}

// The first stretch of a line an End walk reads; it doubles until the walk is settled.
constexpr int64_t kFirstStretch = 1024;

// The used area's last cell (its last row and its last column), as one cursor step finds it.
Cell UsedEnd(const uno::Reference<css::sheet::XSpreadsheet>& sheet) {
  const uno::Reference<css::sheet::XSheetCellCursor> cursor = sheet->createCursor();
  uno::Reference<css::sheet::XUsedAreaCursor>(cursor, uno::UNO_QUERY_THROW)
      ->gotoEndOfUsedArea(false);
  const CellRangeAddress a =
      uno::Reference<css::sheet::XCellRangeAddressable>(cursor, uno::UNO_QUERY_THROW)
          ->getRangeAddress();
  return Cell{a.EndRow + 1, a.EndColumn + 1};
}

// Calc stores only the columns written so far, and a cell query reaching past them answers with
// the cells of its last stored column instead (and scans that column to do so). The cells past the
// used area are empty, so a query for content ends there. False when nothing of the area is left.
bool CutAtUsedEnd(Area& area, Cell usedEnd) {
  area.last.row = std::min(area.last.row, usedEnd.row);
  area.last.col = std::min(area.last.col, usedEnd.col);
  return area.last.row >= area.first.row && area.last.col >= area.first.col;
}

}  // namespace

CellRangeAddress CalcHost::AddressOf(SheetRef sheet, const Area& area) const try {
  return CellRangeAddress(static_cast<sal_Int16>(sheet.sheet - 1), area.first.col - 1,
                          area.first.row - 1, area.last.col - 1, area.last.row - 1);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::Check(SheetRef sheet, Cell cell) try {
  Check(sheet, Area::Of(cell));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::Check(SheetRef sheet, const Area& area) try {
  SheetOf(sheet);
  CheckInside(area, BookAt(sheet.book));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::CheckRows(SheetRef sheet, int32_t first, int32_t last) try {
  SheetOf(sheet);
  if (first < 1 || last > BookAt(sheet.book).rows || first > last)
    throw HostError("rows outside the sheet");
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::CheckCols(SheetRef sheet, int32_t first, int32_t last) try {
  SheetOf(sheet);
  if (first < 1 || last > BookAt(sheet.book).cols || first > last)
    throw HostError("columns outside the sheet");
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

uno::Reference<css::table::XCellRange> CalcHost::RangeOf(SheetRef sheet, const Area& area) try {
  // The sheet is looked up once: each step of that is a round trip to the office.
  const uno::Reference<css::sheet::XSpreadsheet> s = SheetOf(sheet);
  CheckInside(area, BookAt(sheet.book));
  return s->getCellRangeByPosition(area.first.col - 1, area.first.row - 1, area.last.col - 1,
                                   area.last.row - 1);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Cell contents ----

Value CalcHost::GetValue(SheetRef sheet, Cell cell) try {
  return GetValues(sheet, Area::Of(cell)).At(0, 0);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetValue(SheetRef sheet, Cell cell, const Value& value) try {
  Matrix m(1, 1);
  m.At(0, 0) = value;
  WriteTyped(sheet, cell, m);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Matrix CalcHost::GetValues(SheetRef sheet, Area area) try {
  const uno::Reference<css::table::XCellRange> range = RangeOf(sheet, area);
  const uno::Sequence<uno::Sequence<uno::Any>> data =
      uno::Reference<css::sheet::XCellRangeData>(range, uno::UNO_QUERY_THROW)->getDataArray();
  CalcNumberFormats formats(BookAt(sheet.book).doc);
  const std::vector<int32_t> keys = formats.KeysOf(range, area);
  std::map<int32_t, FormatKind> kinds;
  Matrix m(static_cast<int32_t>(area.Rows()), static_cast<int32_t>(area.Cols()));
  for (int32_t r = 0; r < m.Rows(); ++r) {
    for (int32_t c = 0; c < m.Cols(); ++c) {
      const uno::Any& item = data[r][c];
      const int32_t key = keys[static_cast<size_t>(int64_t{r} * m.Cols() + c)];
      auto kind = kinds.find(key);
      if (kind == kinds.end()) kind = kinds.emplace(key, formats.KindOf(key)).first;
      int32_t error = 0;
      if (!item.hasValue()) error = range->getCellByPosition(c, r)->getError();
      m.At(r, c) = ValueOfData(item, kind->second, error);
    }
  }
  return m;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) try {
  if (values.Empty()) return;
  Check(sheet, topLeft);
  if (int64_t{topLeft.row} + values.Rows() - 1 > BookAt(sheet.book).rows ||
      int64_t{topLeft.col} + values.Cols() - 1 > BookAt(sheet.book).cols) {
    throw HostError("values reach outside the sheet");
  }
  WriteTyped(sheet, topLeft, values);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::WriteTyped(SheetRef sheet, Cell topLeft, const Matrix& values) try {
  const Area area = Area::Of(topLeft.row, topLeft.col, topLeft.row + values.Rows() - 1,
                             topLeft.col + values.Cols() - 1);
  const uno::Reference<css::table::XCellRange> range = RangeOf(sheet, area);
  CalcNumberFormats formats(BookAt(sheet.book).doc);
  const std::vector<int32_t> keys = formats.KeysOf(range, area);
  std::map<int32_t, std::string> codes;
  // Each value as typing it would store it, and the format it gives a General cell.
  uno::Sequence<uno::Sequence<uno::Any>> data(values.Rows());
  std::vector<std::pair<Cell, int32_t>> implied;  // cell (0-based in the block), format key
  for (int32_t r = 0; r < values.Rows(); ++r) {
    uno::Sequence<uno::Any> row(values.Cols());
    uno::Any* out = row.getArray();
    for (int32_t c = 0; c < values.Cols(); ++c) {
      const int32_t key = keys[static_cast<size_t>(int64_t{r} * values.Cols() + c)];
      auto code = codes.find(key);
      if (code == codes.end()) code = codes.emplace(key, formats.CodeOf(key)).first;
      const Value& given = values.At(r, c);
      TypedEntry entry;
      if (given.IsText()) {
        entry = ParseTypedText(given.AsText(), code->second);
      } else {
        entry.value = given;
        if (given.IsDate()) entry.impliedFormat = kShortDateFormat;
      }
      const Value& v = entry.value;
      const bool general = code->second == "General";
      switch (v.Kind()) {
        case ValueKind::Empty: out[c] <<= OUString(); break;
        case ValueKind::Text: out[c] <<= ToOUString(v.AsText()); break;
        case ValueKind::Number:
        case ValueKind::Date: out[c] <<= v.AsNumber(); break;
        case ValueKind::Boolean:
          out[c] <<= v.AsBoolean() ? 1.0 : 0.0;
          if (general) implied.emplace_back(Cell{r, c}, formats.BooleanKey());
          break;
        case ValueKind::Error:
          throw HostError("writing an error value is not available in LibreOffice yet");
      }
      if (general && !entry.impliedFormat.empty()) {
        implied.emplace_back(Cell{r, c}, formats.KeyOf(entry.impliedFormat));
      }
    }
    data.getArray()[r] = row;
  }
  // Calc's block transfer replaces the cells' comments too; Excel's keeps them.
  std::vector<std::pair<Cell, std::string>> comments;
  for (const CellRangeAddress& a : Query(range, CellFlags::ANNOTATION)) {
    for (sal_Int32 r = a.StartRow; r <= a.EndRow; ++r) {
      for (sal_Int32 c = a.StartColumn; c <= a.EndColumn; ++c) {
        const Cell at{r + 1, c + 1};
        comments.emplace_back(at, CommentText(sheet, at));
      }
    }
  }
  if (settings_.completeUndo) MakeEmptyCellsUndoable(range);
  uno::Reference<css::sheet::XCellRangeData>(range, uno::UNO_QUERY_THROW)->setDataArray(data);
  for (const auto& [at, text] : comments) {
    if (!HasComment(sheet, at)) AddComment(sheet, at, text);
  }
  // Calc gives a text that reads as a number the text format "@"; Excel keeps the cell's format
  // (and remembers the apostrophe). The formats typing implies are set after that.
  const std::vector<int32_t> after = formats.KeysOf(range, area);
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == keys[i]) continue;
    const auto col = static_cast<sal_Int32>(static_cast<int64_t>(i) % values.Cols());
    const auto row = static_cast<sal_Int32>(static_cast<int64_t>(i) / values.Cols());
    uno::Reference<css::beans::XPropertySet>(range->getCellByPosition(col, row),
                                             uno::UNO_QUERY_THROW)
        ->setPropertyValue("NumberFormat", uno::Any(keys[i]));
  }
  for (const auto& [cell, key] : implied) {
    uno::Reference<css::beans::XPropertySet>(range->getCellByPosition(cell.col, cell.row),
                                             uno::UNO_QUERY_THROW)
        ->setPropertyValue("NumberFormat", uno::Any(key));
  }
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::GetText(SheetRef sheet, Cell cell) try {
  const uno::Reference<css::text::XSimpleText> text(
      RangeOf(sheet, Area::Of(cell))->getCellByPosition(0, 0), uno::UNO_QUERY_THROW);
  return ToUtf8(text->getString());
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::GetFormula(SheetRef sheet, Cell cell) try {
  if (!HasFormula(sheet, cell)) return ConstantText(GetValue(sheet, cell));
  const uno::Reference<css::sheet::XFormulaTokens> tokens(
      SheetOf(sheet)->getCellByPosition(cell.col - 1, cell.row - 1), uno::UNO_QUERY_THROW);
  return BookAt(sheet.book).formulas.Print(tokens->getTokens(), CellAddressOf(sheet, cell));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

bool CalcHost::HasFormula(SheetRef sheet, Cell cell) try {
  return RangeOf(sheet, Area::Of(cell))->getCellByPosition(0, 0)->getType() ==
         css::table::CellContentType_FORMULA;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetFormula(SheetRef sheet, Cell cell, const std::string& formula, const Value&) try {
  // A formula without "=" is a constant typed in.
  if (formula.empty() || formula.front() != '=') {
    SetValue(sheet, cell, Value::Text(formula));
    return;
  }
  const uno::Reference<css::table::XCell> target =
      RangeOf(sheet, Area::Of(cell))->getCellByPosition(0, 0);
  // Calc computes the formula's value itself.
  const auto tokens =
      BookAt(sheet.book).formulas.Parse(formula.substr(1), CellAddressOf(sheet, cell));
  uno::Reference<css::sheet::XFormulaTokens>(target, uno::UNO_QUERY_THROW)->setTokens(tokens);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ClearContents(SheetRef sheet, Area area) try {
  uno::Reference<css::sheet::XSheetOperation>(RangeOf(sheet, area), uno::UNO_QUERY_THROW)
      ->clearContents(kContent);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Navigation and worksheet functions ----

std::vector<std::pair<int32_t, int32_t>> CalcHost::ContentRuns(SheetRef sheet, const Area& line,
                                                               bool vertical, Cell usedEnd) try {
  std::vector<std::pair<int32_t, int32_t>> runs;
  Check(sheet, line);
  Area searched = line;
  if (!CutAtUsedEnd(searched, usedEnd)) return runs;
  for (const CellRangeAddress& a : Query(RangeOf(sheet, searched), kContent)) {
    runs.emplace_back(vertical ? a.StartRow + 1 : a.StartColumn + 1,
                      vertical ? a.EndRow + 1 : a.EndColumn + 1);
  }
  std::sort(runs.begin(), runs.end());
  std::vector<std::pair<int32_t, int32_t>> merged;
  for (const auto& run : runs) {
    if (!merged.empty() && run.first <= merged.back().second + 1) {
      merged.back().second = std::max(merged.back().second, run.second);
    } else {
      merged.push_back(run);
    }
  }
  return merged;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Cell CalcHost::End(SheetRef sheet, Cell from, Direction direction) try {
  Check(sheet, from);
  // Calc's API has no Ctrl+arrow; the same walk is made over the runs of content along the line.
  const bool vertical = direction == Direction::Up || direction == Direction::Down;
  const bool forward = direction == Direction::Down || direction == Direction::ToRight;
  const int32_t at = vertical ? from.row : from.col;
  const int32_t edge = forward ? (vertical ? BookAt(sheet.book).rows : BookAt(sheet.book).cols) : 1;
  auto cellAt = [&](int32_t i) { return vertical ? Cell{i, from.col} : Cell{from.row, i}; };
  if (at == edge) return from;
  // The runs are read for a stretch of the line beside `at`, doubled until it settles the walk:
  // Calc's content query takes a step per content cell, and a column of a large sheet holds far
  // more than the walk needs. Past the used area all is empty, so a walk back starts at its end.
  const Cell usedEnd = UsedEnd(SheetOf(sheet));
  const int32_t near = forward ? at : std::min(at, (vertical ? usedEnd.row : usedEnd.col) + 1);
  const int32_t step = forward ? 1 : -1;
  for (int64_t width = kFirstStretch;; width *= 2) {
    const auto far = static_cast<int32_t>(forward ? std::min<int64_t>(edge, near + width)
                                                  : std::max<int64_t>(edge, near - width));
    const int32_t low = std::min(near, far);
    const int32_t high = std::max(near, far);
    const auto runs = ContentRuns(sheet,
                                  vertical ? Area::Of(low, from.col, high, from.col)
                                           : Area::Of(from.row, low, from.row, high),
                                  vertical, usedEnd);
    // The run holding `at` and its neighbour: its far end, once the stretch shows where it ends.
    bool runGoesOn = false;
    for (const auto& [first, last] : runs) {
      if (first <= at && at <= last && first <= at + step && at + step <= last) {
        const int32_t end = forward ? last : first;
        if (end != far || far == edge) return cellAt(end);
        runGoesOn = true;
      }
    }
    if (runGoesOn) continue;
    // Otherwise the nearest content beyond `at`, or the edge.
    if (forward) {
      for (const auto& [first, last] : runs) {
        if (last > at) return cellAt(std::max(first, at + 1));
      }
    } else {
      for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        if (it->first < at) return cellAt(std::min(it->second, at - 1));
      }
    }
    if (far == edge) return cellAt(edge);
  }
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int64_t CalcHost::CountA(SheetRef sheet, Area area) try {
  Check(sheet, area);
  if (!CutAtUsedEnd(area, UsedEnd(SheetOf(sheet)))) return 0;
  return CellsIn(Query(RangeOf(sheet, area), kContent));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::Match(SheetRef sheet, const Value& lookup, Area area) try {
  Check(sheet, area);
  if (lookup.IsEmpty() || lookup.IsError()) throw HostError("Match has no value to look up");
  if (area.Rows() != 1 && area.Cols() != 1) throw HostError("Match needs one row or one column");
  // Calc copies a range given to a function into a document of its own, so a whole column costs
  // seconds. The cells past the used area are empty and equal no value, and cutting the range's
  // far end leaves every position where it was.
  if (!CutAtUsedEnd(area, UsedEnd(SheetOf(sheet)))) throw HostError("Match found no equal value");
  const uno::Reference<css::table::XCellRange> range = RangeOf(sheet, area);
  // Calc's own MATCH, with Excel's rules for text: wildcards, no regular expressions, no case.
  const uno::Reference<css::uno::XComponentContext>& context = office_.Context();
  const uno::Reference<css::sheet::XFunctionAccess> functions(
      context->getServiceManager()->createInstanceWithContext("com.sun.star.sheet.FunctionAccess",
                                                              context),
      uno::UNO_QUERY_THROW);
  const uno::Reference<css::beans::XPropertySet> settings(functions, uno::UNO_QUERY_THROW);
  settings->setPropertyValue("Wildcards", uno::Any(true));
  settings->setPropertyValue("RegularExpressions", uno::Any(false));
  settings->setPropertyValue("IgnoreCase", uno::Any(true));
  settings->setPropertyValue("MatchWholeCell", uno::Any(true));
  uno::Any key;
  switch (lookup.Kind()) {
    case ValueKind::Text: key <<= ToOUString(lookup.AsText()); break;
    case ValueKind::Boolean: key <<= lookup.AsBoolean(); break;
    default: key <<= lookup.AsNumber(); break;
  }
  try {
    double position = 0;
    const uno::Any arguments[] = {key, uno::Any(range), uno::Any(0.0)};
    functions->callFunction("MATCH", uno::Sequence<uno::Any>(arguments, 3)) >>= position;
    if (position < 1) throw HostError("Match found no equal value");
    return static_cast<int32_t>(position);
  } catch (const uno::Exception&) {
    throw HostError("Match found no equal value");
  }
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

Area CalcHost::UsedRange(SheetRef sheet) try {
  const uno::Reference<css::sheet::XSheetCellCursor> cursor = SheetOf(sheet)->createCursor();
  const uno::Reference<css::sheet::XUsedAreaCursor> used(cursor, uno::UNO_QUERY_THROW);
  used->gotoStartOfUsedArea(false);
  used->gotoEndOfUsedArea(true);
  const CellRangeAddress a =
      uno::Reference<css::sheet::XCellRangeAddressable>(cursor, uno::UNO_QUERY_THROW)
          ->getRangeAddress();
  return Area::Of(a.StartRow + 1, a.StartColumn + 1, a.EndRow + 1, a.EndColumn + 1);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Structure ----

void CalcHost::InsertShiftDown(SheetRef sheet, Area area) try {
  Check(sheet, area);
  const int32_t rows = BookAt(sheet.book).rows;
  const int32_t height = static_cast<int32_t>(area.Rows());
  // The cells that would be pushed off the sheet must be empty; Calc would refuse too, but
  // without saying so.
  const Area pushed = Area::Of(rows - height + 1, area.first.col, rows, area.last.col);
  if (CountA(sheet, pushed) > 0) throw HostError("cannot shift non-empty cells off the sheet");
  uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(sheet), uno::UNO_QUERY_THROW)
      ->insertCells(AddressOf(sheet, area), css::sheet::CellInsertMode_DOWN);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::DeleteShiftUp(SheetRef sheet, Area area) try {
  Check(sheet, area);
  uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(sheet), uno::UNO_QUERY_THROW)
      ->removeRange(AddressOf(sheet, area), css::sheet::CellDeleteMode_UP);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::DeleteRows(SheetRef sheet, int32_t first, int32_t last) try {
  CheckRows(sheet, first, last);
  uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(sheet), uno::UNO_QUERY_THROW)
      ->removeRange(AddressOf(sheet, Area::Of(first, 1, last, BookAt(sheet.book).cols)),
                    css::sheet::CellDeleteMode_ROWS);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::DeleteColumns(SheetRef sheet, int32_t first, int32_t last) try {
  CheckCols(sheet, first, last);
  uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(sheet), uno::UNO_QUERY_THROW)
      ->removeRange(AddressOf(sheet, Area::Of(1, first, BookAt(sheet.book).rows, last)),
                    css::sheet::CellDeleteMode_COLUMNS);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) try {
  const uno::Reference<css::table::XCellRange> range = RangeOf(sheet, area);
  if (keyColumn < area.first.col || keyColumn > area.last.col)
    throw HostError("the sort key lies outside the area");
  css::table::TableSortField field;
  field.Field = keyColumn - area.first.col;
  field.IsAscending = !descending;
  field.IsCaseSensitive = false;
  field.FieldType = css::table::TableSortFieldType_AUTOMATIC;
  // Texts in the order of a Chinese (PRC) spreadsheet, Chinese by pinyin, as the memory engine
  // and Excel in that language sort them; Calc's default follows the document's language, which
  // for English puts Chinese characters in the order of their code points.
  field.CollatorLocale = css::lang::Locale("zh", "CN", "");
  field.CollatorAlgorithm = "pinyin";
  const uno::Reference<css::util::XSortable> sortable(range, uno::UNO_QUERY_THROW);
  uno::Sequence<css::beans::PropertyValue> descriptor = sortable->createSortDescriptor();
  for (css::beans::PropertyValue& p : descriptor) {
    if (p.Name == "SortFields") p.Value <<= uno::Sequence<css::table::TableSortField>(&field, 1);
    if (p.Name == "ContainsHeader") p.Value <<= false;
    if (p.Name == "IsSortColumns") p.Value <<= false;
    if (p.Name == "BindFormatsToContent") p.Value <<= true;
  }
  sortable->sort(descriptor);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) try {
  Check(from, area);
  SheetOf(to);
  if (destTopLeft.row < 1 || destTopLeft.col < 1 ||
      int64_t{destTopLeft.row} + area.Rows() - 1 > BookAt(to.book).rows ||
      int64_t{destTopLeft.col} + area.Cols() - 1 > BookAt(to.book).cols) {
    throw HostError("destination outside the sheet");
  }
  if (from.book == to.book) {
    uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(to), uno::UNO_QUERY_THROW)
        ->copyRange(CellAddressOf(to, destTopLeft), AddressOf(from, area));
    return;
  }
  // Calc copies cells only inside a document: the source sheet is taken into the destination as
  // a sheet of its own behind the others, the area copied from there, and that sheet removed.
  const uno::Reference<css::sheet::XSpreadsheets2> sheets(BookAt(to.book).doc->getSheets(),
                                                          uno::UNO_QUERY_THROW);
  const sal_Int32 taken = sheets->importSheet(BookAt(from.book).doc, ToOUString(SheetName(from)),
                                              static_cast<sal_Int16>(SheetCount(to.book)));
  const SheetRef copy{to.book, taken + 1};
  uno::Reference<css::sheet::XCellRangeMovement>(SheetOf(to), uno::UNO_QUERY_THROW)
      ->copyRange(CellAddressOf(to, destTopLeft), AddressOf(copy, area));
  sheets->removeByName(ToOUString(SheetName(copy)));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Comments ----

bool CalcHost::HasComment(SheetRef sheet, Cell cell) try {
  return CellsIn(Query(RangeOf(sheet, Area::Of(cell)), CellFlags::ANNOTATION)) > 0;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::CommentText(SheetRef sheet, Cell cell) try {
  if (!HasComment(sheet, cell)) throw HostError("the cell has no comment");
  const uno::Reference<css::sheet::XSheetAnnotationAnchor> anchor(
      SheetOf(sheet)->getCellByPosition(cell.col - 1, cell.row - 1), uno::UNO_QUERY_THROW);
  return Replaced(ToUtf8(uno::Reference<css::text::XSimpleText>(anchor->getAnnotation(),
                                                                uno::UNO_QUERY_THROW)
                             ->getString()),
                  kLineSeparator, kCrLf);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ClearComments(SheetRef sheet, Area area) try {
  uno::Reference<css::sheet::XSheetOperation>(RangeOf(sheet, area), uno::UNO_QUERY_THROW)
      ->clearContents(CellFlags::ANNOTATION);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::AddComment(SheetRef sheet, Cell cell, const std::string& text) try {
  if (HasComment(sheet, cell)) throw HostError("the cell has a comment already");
  // The note is made with a blank and its text then set as in an existing note: Calc takes an
  // empty text for the removal of a note, and drops a new note's last line breaks.
  uno::Reference<css::sheet::XSheetAnnotationsSupplier>(SheetOf(sheet), uno::UNO_QUERY_THROW)
      ->getAnnotations()
      ->insertNew(CellAddressOf(sheet, cell), ToOUString(" "));
  SetCommentText(sheet, cell, text);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetCommentText(SheetRef sheet, Cell cell, const std::string& text) try {
  if (!HasComment(sheet, cell)) throw HostError("the cell has no comment");
  const uno::Reference<css::sheet::XSheetAnnotationAnchor> anchor(
      SheetOf(sheet)->getCellByPosition(cell.col - 1, cell.row - 1), uno::UNO_QUERY_THROW);
  uno::Reference<css::text::XSimpleText>(anchor->getAnnotation(), uno::UNO_QUERY_THROW)
      ->setString(ToOUString(Replaced(text, kCrLf, kLineSeparator)));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

}  // namespace tezlo
