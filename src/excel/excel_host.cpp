#include "excel/excel_host.h"

#include <cmath>

#include "host/a1_address.h"
#include "host/host_error.h"

namespace tezlo {

using com::Object;
using com::Variant;

namespace {

std::string Address(const Area& a) { return AreaRefText(a); }

Area AreaOf(const Object& range) {
  const int32_t row = range.Call(L"Row").ToInt();
  const int32_t col = range.Call(L"Column").ToInt();
  const int32_t rows = range.Child(L"Rows").Call(L"Count").ToInt();
  const int32_t cols = range.Child(L"Columns").Call(L"Count").ToInt();
  return Area::Of(row, col, row + rows - 1, col + cols - 1);
}

Cell CellOf(const Object& range) {
  return Cell{range.Call(L"Row").ToInt(), range.Call(L"Column").ToInt()};
}

int32_t DirectionConstant(Direction d) {
  switch (d) {
    case Direction::Up: return xl::kUp;
    case Direction::Down: return xl::kDown;
    case Direction::ToLeft: return xl::kToLeft;
    case Direction::ToRight: return xl::kToRight;
  }
  return xl::kUp;
}

}  // namespace

void ExcelHost::SetApplication(IDispatch* application) { app_ = Object::Of(application); }

const Object& ExcelHost::App() const {
  if (!app_) throw HostError("no application");
  return app_;
}

Object ExcelHost::Book(int32_t book) const {
  return App().Child(L"Workbooks").Child(L"Item", {Variant::Int(book)});
}

Object ExcelHost::Sheet(SheetRef sheet) const {
  return Book(sheet.book).Child(L"Sheets").Child(L"Item", {Variant::Int(sheet.sheet)});
}

Object ExcelHost::CellAt(SheetRef sheet, Cell cell) const {
  return Sheet(sheet).Child(L"Cells", {Variant::Int(cell.row), Variant::Int(cell.col)});
}

Object ExcelHost::RangeOf(SheetRef sheet, Area area) const {
  const Object ws = Sheet(sheet);
  const Object first =
      ws.Child(L"Cells", {Variant::Int(area.first.row), Variant::Int(area.first.col)});
  const Object last =
      ws.Child(L"Cells", {Variant::Int(area.last.row), Variant::Int(area.last.col)});
  return ws.Child(L"Range", {Variant::Object(first.Get()), Variant::Object(last.Get())});
}

Object ExcelHost::Columns(SheetRef sheet, int32_t first, int32_t last) const {
  return RangeOf(sheet, Area::Of(1, first, 1, last)).Child(L"EntireColumn");
}

Object ExcelHost::Rows(SheetRef sheet, int32_t first, int32_t last) const {
  return RangeOf(sheet, Area::Of(first, 1, last, 1)).Child(L"EntireRow");
}

int32_t ExcelHost::IndexOfBook(const Object& book) const {
  const std::string name = book.Call(L"Name").ToText();
  const Object books = App().Child(L"Workbooks");
  const int32_t n = books.Call(L"Count").ToInt();
  for (int32_t i = 1; i <= n; ++i) {
    if (books.Child(L"Item", {Variant::Int(i)}).Call(L"Name").ToText() == name) return i;
  }
  throw HostError("workbook not open: " + name);
}

// ---- Application ----------------------------------------------------------------------------

int32_t ExcelHost::RowsCount() { return App().Child(L"Rows").Call(L"Count").ToInt(); }
int32_t ExcelHost::ColumnsCount() { return App().Child(L"Columns").Call(L"Count").ToInt(); }
bool ExcelHost::ScreenUpdating() { return App().Call(L"ScreenUpdating").ToBool(); }
void ExcelHost::SetScreenUpdating(bool on) { App().Put(L"ScreenUpdating", Variant::Bool(on)); }
bool ExcelHost::DisplayAlerts() { return App().Call(L"DisplayAlerts").ToBool(); }
void ExcelHost::SetDisplayAlerts(bool on) { App().Put(L"DisplayAlerts", Variant::Bool(on)); }

// ---- Workbooks ------------------------------------------------------------------------------

int32_t ExcelHost::WorkbookCount() { return App().Child(L"Workbooks").Call(L"Count").ToInt(); }

int32_t ExcelHost::ActiveWorkbook() { return IndexOfBook(App().Child(L"ActiveWorkbook")); }

int32_t ExcelHost::AddWorkbook() { return IndexOfBook(App().Child(L"Workbooks").Child(L"Add")); }

void ExcelHost::ActivateWorkbook(int32_t book) { Book(book).Call(L"Activate"); }

std::string ExcelHost::WorkbookName(int32_t book) { return Book(book).Call(L"Name").ToText(); }

int32_t ExcelHost::FindWorkbook(const std::string& name) {
  return IndexOfBook(App().Child(L"Workbooks").Child(L"Item", {Variant::Text(name)}));
}

void ExcelHost::SaveWorkbookAs(int32_t book, const std::string& path) {
  Book(book).Call(L"SaveAs", {Variant::Text(path)});
}

void ExcelHost::CloseWorkbook(int32_t book, bool saveChanges) {
  Book(book).Call(L"Close", {Variant::Bool(saveChanges)});
}

// ---- Sheets ---------------------------------------------------------------------------------

int32_t ExcelHost::SheetCount(int32_t book) {
  return Book(book).Child(L"Worksheets").Call(L"Count").ToInt();
}

SheetRef ExcelHost::ActiveSheet() {
  const int32_t book = ActiveWorkbook();
  return SheetRef{book, App().Child(L"ActiveSheet").Call(L"Index").ToInt()};
}

std::string ExcelHost::SheetName(SheetRef sheet) { return Sheet(sheet).Call(L"Name").ToText(); }

void ExcelHost::RenameSheet(SheetRef sheet, const std::string& name) {
  Sheet(sheet).Put(L"Name", Variant::Text(name));
}

SheetRef ExcelHost::AddSheetAfter(SheetRef sheet) {
  const Object after = Sheet(sheet);
  const Object added = Book(sheet.book)
                           .Child(L"Sheets")
                           .Child(L"Add", {Variant::Missing(), Variant::Object(after.Get())});
  return SheetRef{sheet.book, added.Call(L"Index").ToInt()};
}

void ExcelHost::DeleteSheet(SheetRef sheet) { Sheet(sheet).Call(L"Delete"); }
void ExcelHost::ActivateSheet(SheetRef sheet) { Sheet(sheet).Call(L"Activate"); }

// ---- Cursor and window ----------------------------------------------------------------------

Cell ExcelHost::ActiveCell() { return CellOf(App().Child(L"ActiveCell")); }

Selection ExcelHost::GetSelection() {
  Selection s;
  const Object areas = App().Child(L"Selection").Child(L"Areas");
  const int32_t n = areas.Call(L"Count").ToInt();
  for (int32_t i = 1; i <= n; ++i)
    s.areas.push_back(AreaOf(areas.Child(L"Item", {Variant::Int(i)})));
  s.active = ActiveCell();
  return s;
}

void ExcelHost::Select(const Selection& selection) {
  if (selection.areas.empty()) throw HostError("empty selection");
  bool inside = false;
  std::string address;
  for (const Area& a : selection.areas) {
    if (!address.empty()) address += ",";
    address += Address(a);
    inside = inside || a.Contains(selection.active);
  }
  if (!inside) throw HostError("active cell outside the selection");
  const Object ws = App().Child(L"ActiveSheet");
  ws.Child(L"Range", {Variant::Text(address)}).Call(L"Select");
  ws.Child(L"Cells", {Variant::Int(selection.active.row), Variant::Int(selection.active.col)})
      .Call(L"Activate");
}

void ExcelHost::ActivateCell(Cell cell) {
  App()
      .Child(L"ActiveSheet")
      .Child(L"Cells", {Variant::Int(cell.row), Variant::Int(cell.col)})
      .Call(L"Activate");
}

Cell ExcelHost::TopLeftVisibleCell() {
  const Object window = App().Child(L"ActiveWindow");
  return Cell{window.Call(L"ScrollRow").ToInt(), window.Call(L"ScrollColumn").ToInt()};
}

void ExcelHost::SetScrollRow(int32_t row) {
  App().Child(L"ActiveWindow").Put(L"ScrollRow", Variant::Int(row));
}

void ExcelHost::SetScrollColumn(int32_t col) {
  App().Child(L"ActiveWindow").Put(L"ScrollColumn", Variant::Int(col));
}

int32_t ExcelHost::VisibleRows() {
  return App().Child(L"ActiveWindow").Child(L"VisibleRange").Child(L"Rows").Call(L"Count").ToInt();
}

int32_t ExcelHost::VisibleColumns() {
  return App()
      .Child(L"ActiveWindow")
      .Child(L"VisibleRange")
      .Child(L"Columns")
      .Call(L"Count")
      .ToInt();
}

void ExcelHost::BeginEditing() {
  App().Call(L"SendKeys", {Variant::Text("{F2}"), Variant::Bool(true)});
}

// ---- Cell contents --------------------------------------------------------------------------

Value ExcelHost::GetValue(SheetRef sheet, Cell cell) {
  return com::ToValue(CellAt(sheet, cell).Call(L"Value").Raw());
}

void ExcelHost::SetValue(SheetRef sheet, Cell cell, const Value& value) {
  CellAt(sheet, cell).Put(L"Value", com::FromValue(value));
}

Matrix ExcelHost::GetValues(SheetRef sheet, Area area) {
  return com::ToMatrix(RangeOf(sheet, area).Call(L"Value").Raw());
}

void ExcelHost::SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) {
  if (values.Empty()) return;
  const Object target =
      CellAt(sheet, topLeft)
          .Child(L"Resize", {Variant::Int(values.Rows()), Variant::Int(values.Cols())});
  target.Put(L"Value", com::FromMatrix(values));
}

std::string ExcelHost::GetText(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Call(L"Text").ToText();
}

std::string ExcelHost::GetFormula(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Call(L"Formula").ToText();
}

bool ExcelHost::HasFormula(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Call(L"HasFormula").ToBool();
}

void ExcelHost::SetFormula(SheetRef sheet, Cell cell, const std::string& formula, const Value&) {
  // Excel computes the formula's value itself.
  CellAt(sheet, cell).Put(L"Formula", Variant::Text(formula));
}

void ExcelHost::ClearContents(SheetRef sheet, Area area) {
  RangeOf(sheet, area).Call(L"ClearContents");
}

// ---- Navigation and worksheet functions -----------------------------------------------------

Cell ExcelHost::End(SheetRef sheet, Cell from, Direction direction) {
  return CellOf(CellAt(sheet, from).Child(L"End", {Variant::Int(DirectionConstant(direction))}));
}

int64_t ExcelHost::CountA(SheetRef sheet, Area area) {
  const Object range = RangeOf(sheet, area);
  return static_cast<int64_t>(
      App().Child(L"WorksheetFunction").Call(L"CountA", {Variant::Object(range.Get())}).ToDouble());
}

int32_t ExcelHost::Match(SheetRef sheet, const Value& lookup, Area area) {
  const Object range = RangeOf(sheet, area);
  const double position =
      App()
          .Child(L"WorksheetFunction")
          .Call(L"Match", {com::FromValue(lookup), Variant::Object(range.Get()), Variant::Int(0)})
          .ToDouble();
  return static_cast<int32_t>(position);
}

Area ExcelHost::UsedRange(SheetRef sheet) { return AreaOf(Sheet(sheet).Child(L"UsedRange")); }

// ---- Structure ------------------------------------------------------------------------------

void ExcelHost::InsertShiftDown(SheetRef sheet, Area area) {
  RangeOf(sheet, area).Call(L"Insert", {Variant::Int(xl::kDown)});
}

void ExcelHost::DeleteShiftUp(SheetRef sheet, Area area) {
  RangeOf(sheet, area).Call(L"Delete", {Variant::Int(xl::kUp)});
}

void ExcelHost::DeleteRows(SheetRef sheet, int32_t first, int32_t last) {
  Rows(sheet, first, last).Call(L"Delete");
}

void ExcelHost::DeleteColumns(SheetRef sheet, int32_t first, int32_t last) {
  Columns(sheet, first, last).Call(L"Delete");
}

void ExcelHost::Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) {
  if (keyColumn < area.first.col || keyColumn > area.last.col) {
    throw HostError("sort key outside the range");
  }
  const Object key = CellAt(sheet, Cell{area.first.row, keyColumn});
  // Sort(Key1, Order1, Key2, Type, Order2, Key3, Order3, Header)
  RangeOf(sheet, area)
      .Call(L"Sort", {Variant::Object(key.Get()),
                      Variant::Int(descending ? xl::kDescending : xl::kAscending),
                      Variant::Missing(), Variant::Missing(), Variant::Missing(),
                      Variant::Missing(), Variant::Missing(), Variant::Int(xl::kNoHeader)});
}

void ExcelHost::Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) {
  const Object destination = CellAt(to, destTopLeft);
  RangeOf(from, area).Call(L"Copy", {Variant::Object(destination.Get())});
}

// ---- Comments -------------------------------------------------------------------------------

bool ExcelHost::HasComment(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Call(L"Comment").Dispatch() != nullptr;
}

std::string ExcelHost::CommentText(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Child(L"Comment").Call(L"Text").ToText();
}

void ExcelHost::ClearComments(SheetRef sheet, Area area) {
  RangeOf(sheet, area).Call(L"ClearComments");
}

void ExcelHost::AddComment(SheetRef sheet, Cell cell, const std::string& text) {
  CellAt(sheet, cell).Call(L"AddComment", {Variant::Text(text)});
}

void ExcelHost::SetCommentText(SheetRef sheet, Cell cell, const std::string& text) {
  CellAt(sheet, cell).Child(L"Comment").Call(L"Text", {Variant::Text(text)});
}

// ---- Sizes ----------------------------------------------------------------------------------

double ExcelHost::ColumnWidth(SheetRef sheet, int32_t col) {
  return Columns(sheet, col, col).Call(L"ColumnWidth").ToDouble();
}

double ExcelHost::ColumnWidthPoints(SheetRef sheet, int32_t col) {
  return Columns(sheet, col, col).Call(L"Width").ToDouble();
}

void ExcelHost::SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) {
  Columns(sheet, first, last).Put(L"ColumnWidth", Variant::Double(chars));
}

double ExcelHost::RowHeight(SheetRef sheet, int32_t row) {
  return Rows(sheet, row, row).Call(L"RowHeight").ToDouble();
}

void ExcelHost::SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) {
  Rows(sheet, first, last).Put(L"RowHeight", Variant::Double(points));
}

// ---- Formats --------------------------------------------------------------------------------

int32_t ExcelHost::ColorIndex(SheetRef sheet, Cell cell) {
  const int32_t index = CellAt(sheet, cell).Child(L"Interior").Call(L"ColorIndex").ToInt();
  return index == xl::kColorIndexNone ? 0 : index;
}

void ExcelHost::SetColorIndex(SheetRef sheet, Area area, int32_t index) {
  RangeOf(sheet, area)
      .Child(L"Interior")
      .Put(L"ColorIndex", Variant::Int(index == 0 ? xl::kColorIndexNone : index));
}

void ExcelHost::SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) {
  Columns(sheet, first, last)
      .Child(L"Interior")
      .Put(L"ColorIndex", Variant::Int(index == 0 ? xl::kColorIndexNone : index));
}

std::string ExcelHost::NumberFormat(SheetRef sheet, Cell cell) {
  return CellAt(sheet, cell).Call(L"NumberFormat").ToText();
}

void ExcelHost::SetNumberFormat(SheetRef sheet, Area area, const std::string& format) {
  RangeOf(sheet, area).Put(L"NumberFormat", Variant::Text(format));
}

void ExcelHost::SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) {
  RangeOf(sheet, area).Put(L"NumberFormatLocal", Variant::Text(format));
}

}  // namespace tezlo
