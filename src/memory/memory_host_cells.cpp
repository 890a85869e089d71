// The in-memory host: cell contents, navigation, worksheet functions, structure and comments.
#include <optional>
#include <utility>

#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/cell_shift.h"
#include "memory/constant_text.h"
#include "memory/display_text.h"
#include "memory/end_navigation.h"
#include "memory/memory_host.h"
#include "memory/range_copy.h"
#include "memory/range_sort.h"
#include "memory/sheet_queries.h"
#include "memory/typed_entry.h"

namespace tezlo {

namespace {

// The format a date assigned as a value gives a General cell (the short date of zh-CN).
constexpr const char* kShortDateFormat = "yyyy/m/d";
// Largest area read or written in one transfer: a whole column several times over.
constexpr int64_t kMaxTransferCells = int64_t{1} << 23;

void CheckTransfer(const Area& area) {
  if (area.Count() > kMaxTransferCells) throw HostError("area too large for one transfer");
}

GridSize GridOf(const Workbook& book) { return GridSize{book.Rows(), book.Cols()}; }

int64_t CountFormulas(const Sheet& sheet, const Area& area) {
  int64_t n = 0;
  const auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    for (ColumnStore::Cursor cur = it->second.Seek(area.first.row);
         cur.Valid() && cur.Row() <= area.last.row; cur.Next()) {
      if (cur.Record().HasFormula()) ++n;
    }
  }
  return n;
}

}  // namespace

// ---- Cell contents ----

void MemoryHost::WriteValue(Sheet& sheet, Cell cell, const Value& value) {
  sheet.Check(cell);
  const std::string format = sheet.NumberFormatAt(cell);
  TypedEntry entry;
  if (value.IsText()) {
    entry = ParseTypedText(value.AsText(), format);
  } else {
    entry.value = value;
    if (value.IsDate()) entry.impliedFormat = kShortDateFormat;
  }
  const bool general = format == kGeneralFormat;
  const std::string columnFormat = sheet.ColumnNumberFormat(cell.col);
  sheet.Edit(cell, [&](CellRecord& r) {
    r.value = std::move(entry.value);
    r.quotePrefix = entry.quotePrefix;
    r.ClearFormula();
    r.ClearRichText();
    if (general && !entry.impliedFormat.empty()) {
      SetOwnNumberFormat(r, entry.impliedFormat, columnFormat);
    }
  });
}

Value MemoryHost::GetValue(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  const CellRecord* r = s.Find(cell);
  return r ? r->value : Value();
}

void MemoryHost::SetValue(SheetRef sheet, Cell cell, const Value& value) {
  Sheet& s = GetSheet(sheet);
  s.Check(cell);
  CheckNoPartOfArray(s, Area::Of(cell));
  WriteValue(s, cell, value);
}

Matrix MemoryHost::GetValues(SheetRef sheet, Area area) {
  const Sheet& s = GetSheet(sheet);
  s.Check(area);
  CheckTransfer(area);
  Matrix m(static_cast<int32_t>(area.Rows()), static_cast<int32_t>(area.Cols()));
  const auto& columns = s.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    for (ColumnStore::Cursor cur = it->second.Seek(area.first.row);
         cur.Valid() && cur.Row() <= area.last.row; cur.Next()) {
      m.At(cur.Row() - area.first.row, it->first - area.first.col) = cur.Record().value;
    }
  }
  return m;
}

void MemoryHost::SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) {
  Sheet& s = GetSheet(sheet);
  if (values.Empty()) return;
  s.Check(topLeft);
  if (int64_t{topLeft.row} + values.Rows() - 1 > s.Rows() ||
      int64_t{topLeft.col} + values.Cols() - 1 > s.Cols()) {
    throw HostError("values reach outside the sheet");
  }
  // Values written over a whole array replace it; over part of one they are refused.
  CheckNoPartOfArray(s, Area::Of(topLeft.row, topLeft.col, topLeft.row + values.Rows() - 1,
                                 topLeft.col + values.Cols() - 1));
  for (int32_t r = 0; r < values.Rows(); ++r) {
    for (int32_t c = 0; c < values.Cols(); ++c) {
      WriteValue(s, Cell{topLeft.row + r, topLeft.col + c}, values.At(r, c));
    }
  }
}

std::string MemoryHost::GetText(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  const CellRecord* r = s.Find(cell);
  return r ? DisplayText(r->value, s.NumberFormatAt(cell)) : std::string();
}

std::string MemoryHost::GetFormula(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  const CellRecord* r = s.Find(cell);
  if (r == nullptr) return "";
  return r->HasFormula() ? r->extras->formula : ConstantText(r->value);
}

bool MemoryHost::HasFormula(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  const CellRecord* r = s.Find(cell);
  return r != nullptr && r->HasFormula();
}

void MemoryHost::SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                            const Value& lastValue) {
  Sheet& s = GetSheet(sheet);
  s.Check(cell);
  CheckNoPartOfArray(s, Area::Of(cell));
  // A formula without "=" is a constant typed in.
  if (formula.empty() || formula.front() != '=') {
    WriteValue(s, cell, Value::Text(formula));
    return;
  }
  s.Edit(cell, [&](CellRecord& r) {
    r.value = lastValue;
    r.quotePrefix = false;
    r.ClearFormula();  // an array of this one cell becomes a plain formula
    r.ClearRichText();
    r.Extras().formula = formula;
  });
}

void MemoryHost::ClearContents(SheetRef sheet, Area area) {
  Sheet& s = GetSheet(sheet);
  s.Check(area);
  CheckNoPartOfArray(s, area);
  auto& columns = s.ColumnsForMovesAndRemovals();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    it->second.Transform(area.first.row, area.last.row,
                         [](int32_t, CellRecord& r) { r.ClearContent(); });
  }
  s.DropEmptyColumns();
}

// ---- Navigation and worksheet functions ----

Cell MemoryHost::End(SheetRef sheet, Cell from, Direction direction) {
  const Sheet& s = GetSheet(sheet);
  s.Check(from);
  return EndOf(s, from, direction);
}

int64_t MemoryHost::CountA(SheetRef sheet, Area area) {
  const Sheet& s = GetSheet(sheet);
  s.Check(area);
  return CountContent(s, area);
}

int32_t MemoryHost::Match(SheetRef sheet, const Value& lookup, Area area) {
  const Sheet& s = GetSheet(sheet);
  s.Check(area);
  return MatchExact(s, lookup, area);
}

Area MemoryHost::UsedRange(SheetRef sheet) { return UsedArea(GetSheet(sheet)); }

// ---- Structure ----

void MemoryHost::InsertShiftDown(SheetRef sheet, Area area) {
  Workbook& book = GetWorkbook(sheet.book);
  Sheet& s = book.GetSheet(sheet.sheet);
  InsertCellsShiftDown(s, area);
  ShiftFormulaRefs(book, sheet.sheet,
                   InsertDownShift(s.Name(), GridOf(book), area.first.row, area.first.col,
                                   area.last.row, area.last.col));
}

void MemoryHost::DeleteShiftUp(SheetRef sheet, Area area) {
  Workbook& book = GetWorkbook(sheet.book);
  Sheet& s = book.GetSheet(sheet.sheet);
  DeleteCellsShiftUp(s, area);
  ShiftFormulaRefs(book, sheet.sheet,
                   DeleteUpShift(s.Name(), GridOf(book), area.first.row, area.first.col,
                                 area.last.row, area.last.col));
}

void MemoryHost::DeleteRows(SheetRef sheet, int32_t first, int32_t last) {
  Workbook& book = GetWorkbook(sheet.book);
  Sheet& s = book.GetSheet(sheet.sheet);
  DeleteWholeRows(s, first, last);
  ShiftFormulaRefs(book, sheet.sheet, DeleteRowsShift(s.Name(), GridOf(book), first, last));
}

void MemoryHost::DeleteColumns(SheetRef sheet, int32_t first, int32_t last) {
  Workbook& book = GetWorkbook(sheet.book);
  Sheet& s = book.GetSheet(sheet.sheet);
  DeleteWholeColumns(s, first, last);
  ShiftFormulaRefs(book, sheet.sheet, DeleteColumnsShift(s.Name(), GridOf(book), first, last));
}

void MemoryHost::Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) {
  Sheet& s = GetSheet(sheet);
  // Sorting only reorders cells: the sheet keeps its formula count.
  const std::optional<int64_t> formulas = s.FormulaCountBound();
  SortRows(s, area, keyColumn, descending);
  s.SetFormulaCountBound(formulas);
}

void MemoryHost::Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) {
  const Sheet& source = GetSheet(from);
  Sheet& dest = GetSheet(to);
  std::optional<int64_t> formulas = dest.FormulaCountBound();
  if (formulas && source.FormulaCountBound() != 0) {
    source.Check(area);
    *formulas += CountFormulas(source, area);
  }
  const bool sameStyles =
      from.book == to.book || GetWorkbook(from.book).Styles() == GetWorkbook(to.book).Styles();
  CopyCells(source, area, dest, destTopLeft, sameStyles);
  dest.SetFormulaCountBound(formulas);
}

// ---- Comments ----

bool MemoryHost::HasComment(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  const CellRecord* r = s.Find(cell);
  return r != nullptr && r->HasComment();
}

std::string MemoryHost::CommentText(SheetRef sheet, Cell cell) {
  if (!HasComment(sheet, cell)) throw HostError("the cell has no comment");
  return *GetSheet(sheet).Find(cell)->extras->comment;
}

void MemoryHost::ClearComments(SheetRef sheet, Area area) {
  Sheet& s = GetSheet(sheet);
  s.Check(area);
  CheckNoPartOfArray(s, area);
  auto& columns = s.ColumnsForMovesAndRemovals();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    it->second.Transform(area.first.row, area.last.row, [](int32_t, CellRecord& r) {
      if (r.extras) r.extras->comment.reset();
    });
  }
  s.DropEmptyColumns();
}

void MemoryHost::AddComment(SheetRef sheet, Cell cell, const std::string& text) {
  if (HasComment(sheet, cell)) throw HostError("the cell has a comment already");
  GetSheet(sheet).Edit(cell, [&](CellRecord& r) { r.Extras().comment = text; });
}

void MemoryHost::SetCommentText(SheetRef sheet, Cell cell, const std::string& text) {
  if (!HasComment(sheet, cell)) throw HostError("the cell has no comment");
  GetSheet(sheet).Edit(cell, [&](CellRecord& r) { r.Extras().comment = text; });
}

}  // namespace tezlo
