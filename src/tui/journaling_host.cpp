#include "tui/journaling_host.h"

#include <algorithm>

#include "host/host_error.h"

namespace tezlo {
namespace {

// Whether removing cells of this sheet could leave formulas with broken references: when the
// sheet's formula count is unknown or above zero.
bool MayHoldFormulas(const Sheet& sheet) {
  const std::optional<int64_t> bound = sheet.FormulaCountBound();
  return !bound || *bound > 0;
}

}  // namespace

void JournalingHost::BeginCommand() {
  steps_.clear();
  framed_.clear();
  copied_.clear();
  calls_ = 0;
  started_ = reported_ = std::chrono::steady_clock::now();
  before_ = CurrentFocus();
}

UndoEntry JournalingHost::EndCommand(std::string label) {
  UndoEntry entry{std::move(label), std::move(steps_), before_, CurrentFocus()};
  steps_.clear();
  framed_.clear();
  copied_.clear();
  return entry;
}

Focus JournalingHost::CurrentFocus() {
  if (inner_.WorkbookCount() == 0) return Focus{};
  const int32_t book = inner_.ActiveWorkbook();
  return Focus{book, inner_.GetWorkbook(book).ActiveSheetIndex()};
}

void JournalingHost::Tick() {
  if ((++calls_ & 0x3FF) != 0 || !progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < std::chrono::milliseconds(200) ||
      now - reported_ < std::chrono::milliseconds(100))
    return;
  reported_ = now;
  progress_(std::chrono::duration<double>(now - started_).count());
}

bool JournalingHost::Touch(SheetRef ref) {
  Sheet* sheet = nullptr;
  try {
    sheet = &inner_.GetSheet(ref);
  } catch (const HostError&) {
    return false;  // the host refuses the call itself; nothing changes
  }
  if (copied_.count(sheet) != 0) return false;
  if (framed_.insert(sheet).second) steps_.push_back(FrameStep(ref, *sheet));
  return true;
}

void JournalingHost::RecordCells(SheetRef ref, const Area& area) {
  if (!Touch(ref)) return;
  steps_.push_back(CellsStep(ref, CaptureCells(inner_.GetSheet(ref), area)));
}

bool JournalingHost::CopySheetsForDeletion(SheetRef ref) {
  Workbook* book = nullptr;
  try {
    book = &inner_.GetWorkbook(ref.book);
    book->GetSheet(ref.sheet);
  } catch (const HostError&) {
    return false;
  }
  bool anyFormulas = false;
  for (int32_t i = 1; i <= book->SheetCount(); ++i)
    anyFormulas = anyFormulas || MayHoldFormulas(book->GetSheet(i));
  if (!anyFormulas) return copied_.count(&book->GetSheet(ref.sheet)) != 0;
  for (int32_t i = 1; i <= book->SheetCount(); ++i) {
    Sheet& sheet = book->GetSheet(i);
    if ((i == ref.sheet || MayHoldFormulas(sheet)) && copied_.insert(&sheet).second)
      steps_.push_back(SheetStep(SheetRef{ref.book, i}, sheet));
  }
  return true;
}

// ---- Reads and settings: forwarded ----
Value JournalingHost::GetValue(SheetRef sheet, Cell cell) {
  Tick();
  return inner_.GetValue(sheet, cell);
}
std::string JournalingHost::GetText(SheetRef sheet, Cell cell) {
  Tick();
  return inner_.GetText(sheet, cell);
}
std::string JournalingHost::GetFormula(SheetRef sheet, Cell cell) {
  Tick();
  return inner_.GetFormula(sheet, cell);
}
Cell JournalingHost::End(SheetRef sheet, Cell from, Direction direction) {
  Tick();
  return inner_.End(sheet, from, direction);
}
int32_t JournalingHost::Match(SheetRef sheet, const Value& lookup, Area area) {
  Tick();
  return inner_.Match(sheet, lookup, area);
}

// ---- Workbooks and sheets ----
int32_t JournalingHost::AddWorkbook() {
  const int32_t book = inner_.AddWorkbook();
  steps_.push_back(CloseWorkbookStep(book));
  return book;
}

void JournalingHost::CloseWorkbook(int32_t book, bool saveChanges) {
  std::unique_ptr<Workbook> copy;
  try {
    copy = CopyWorkbook(inner_.GetWorkbook(book));
  } catch (const HostError&) {
  }
  inner_.CloseWorkbook(book, saveChanges);
  if (copy) steps_.push_back(ReopenWorkbookStep(std::move(copy)));
}

void JournalingHost::RenameSheet(SheetRef sheet, const std::string& name) {
  Touch(sheet);
  inner_.RenameSheet(sheet, name);
}

SheetRef JournalingHost::AddSheetAfter(SheetRef sheet) {
  const SheetRef added = inner_.AddSheetAfter(sheet);
  steps_.push_back(RemoveSheetStep(added));
  return added;
}

void JournalingHost::DeleteSheet(SheetRef ref) {
  Sheet* sheet = nullptr;
  try {
    sheet = &inner_.GetSheet(ref);
  } catch (const HostError&) {
  }
  if (sheet == nullptr) return inner_.DeleteSheet(ref);
  Sheet copy = *sheet;
  inner_.DeleteSheet(ref);
  framed_.erase(sheet);
  copied_.erase(sheet);
  steps_.push_back(InsertSheetStep(ref, std::move(copy)));
}

// ---- Cursor and window: the frame holds the view ----
void JournalingHost::Select(const Selection& selection) {
  Touch(inner_.ActiveSheet());
  inner_.Select(selection);
}
void JournalingHost::ActivateCell(Cell cell) {
  Touch(inner_.ActiveSheet());
  inner_.ActivateCell(cell);
}
void JournalingHost::SetScrollRow(int32_t row) {
  Touch(inner_.ActiveSheet());
  inner_.SetScrollRow(row);
}
void JournalingHost::SetScrollColumn(int32_t col) {
  Touch(inner_.ActiveSheet());
  inner_.SetScrollColumn(col);
}

// ---- Cells ----
void JournalingHost::SetValue(SheetRef sheet, Cell cell, const Value& value) {
  Tick();
  RecordCells(sheet, Area::Of(cell));
  inner_.SetValue(sheet, cell, value);
}

void JournalingHost::SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) {
  if (!values.Empty()) {
    RecordCells(sheet, Area::Of(topLeft.row, topLeft.col,
                                static_cast<int32_t>(std::min<int64_t>(
                                    int64_t{topLeft.row} + values.Rows() - 1, INT32_MAX)),
                                static_cast<int32_t>(std::min<int64_t>(
                                    int64_t{topLeft.col} + values.Cols() - 1, INT32_MAX))));
  }
  inner_.SetValues(sheet, topLeft, values);
}

void JournalingHost::SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                                const Value& lastValue) {
  Tick();
  RecordCells(sheet, Area::Of(cell));
  inner_.SetFormula(sheet, cell, formula, lastValue);
}

void JournalingHost::ClearContents(SheetRef sheet, Area area) {
  Tick();
  RecordCells(sheet, area);
  inner_.ClearContents(sheet, area);
}

// ---- Structure ----
void JournalingHost::InsertShiftDown(SheetRef ref, Area area) {
  Tick();
  if (Touch(ref)) {
    // Cells pushed off the bottom: only blank ones with formats of their own can be, the host
    // refuses to push content off.
    const int32_t rows = inner_.GetSheet(ref).Rows();
    const int64_t n = area.Rows();
    if (n > 0) {
      const int32_t from = static_cast<int32_t>(std::max<int64_t>(1, rows - n + 1));
      steps_.push_back(
          CellsStep(ref, CaptureCells(inner_.GetSheet(ref),
                                      Area::Of(from, area.first.col, rows, area.last.col))));
    }
    inner_.InsertShiftDown(ref, area);
    steps_.push_back(ShiftStep(ref, area, false));
    return;
  }
  inner_.InsertShiftDown(ref, area);
}

void JournalingHost::DeleteShiftUp(SheetRef ref, Area area) {
  Tick();
  if (!CopySheetsForDeletion(ref) && Touch(ref)) {
    steps_.push_back(CellsStep(ref, CaptureCells(inner_.GetSheet(ref), area)));
    inner_.DeleteShiftUp(ref, area);
    steps_.push_back(ShiftStep(ref, area, true));
    return;
  }
  inner_.DeleteShiftUp(ref, area);
}

void JournalingHost::DeleteRows(SheetRef ref, int32_t first, int32_t last) {
  if (!CopySheetsForDeletion(ref) && Touch(ref) && first <= last) {
    Sheet& sheet = inner_.GetSheet(ref);
    steps_.push_back(CellsStep(ref, CaptureCells(sheet, Area::Of(first, 1, last, sheet.Cols()))));
    inner_.DeleteRows(ref, first, last);
    steps_.push_back(RowsStep(ref, first, last - first + 1, true));
    return;
  }
  inner_.DeleteRows(ref, first, last);
}

void JournalingHost::DeleteColumns(SheetRef ref, int32_t first, int32_t last) {
  if (!CopySheetsForDeletion(ref) && Touch(ref) && first <= last) {
    Sheet& sheet = inner_.GetSheet(ref);
    steps_.push_back(CellsStep(ref, CaptureCells(sheet, Area::Of(1, first, sheet.Rows(), last))));
    inner_.DeleteColumns(ref, first, last);
    steps_.push_back(ColumnsStep(ref, first, last - first + 1, true));
    return;
  }
  inner_.DeleteColumns(ref, first, last);
}

void JournalingHost::Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) {
  RecordCells(sheet, area);
  inner_.Sort(sheet, area, keyColumn, descending);
}

void JournalingHost::Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) {
  RecordCells(to, Area::Of(destTopLeft.row, destTopLeft.col,
                           static_cast<int32_t>(
                               std::min<int64_t>(destTopLeft.row + area.Rows() - 1, INT32_MAX)),
                           static_cast<int32_t>(
                               std::min<int64_t>(destTopLeft.col + area.Cols() - 1, INT32_MAX))));
  inner_.Copy(from, area, to, destTopLeft);
}

// ---- Comments ----
void JournalingHost::ClearComments(SheetRef sheet, Area area) {
  RecordCells(sheet, area);
  inner_.ClearComments(sheet, area);
}
void JournalingHost::AddComment(SheetRef sheet, Cell cell, const std::string& text) {
  RecordCells(sheet, Area::Of(cell));
  inner_.AddComment(sheet, cell, text);
}
void JournalingHost::SetCommentText(SheetRef sheet, Cell cell, const std::string& text) {
  RecordCells(sheet, Area::Of(cell));
  inner_.SetCommentText(sheet, cell, text);
}

// ---- Sizes and formats ----
void JournalingHost::SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) {
  Touch(sheet);
  inner_.SetColumnWidth(sheet, first, last, chars);
}
void JournalingHost::SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) {
  Touch(sheet);
  inner_.SetRowHeight(sheet, first, last, points);
}
void JournalingHost::SetColorIndex(SheetRef sheet, Area area, int32_t index) {
  RecordCells(sheet, area);
  inner_.SetColorIndex(sheet, area, index);
}
void JournalingHost::SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last,
                                         int32_t index) {
  try {
    RecordCells(sheet, Area::Of(1, first, inner_.GetSheet(sheet).Rows(), last));
  } catch (const HostError&) {
  }
  inner_.SetColumnColorIndex(sheet, first, last, index);
}
void JournalingHost::SetNumberFormat(SheetRef sheet, Area area, const std::string& format) {
  RecordCells(sheet, area);
  inner_.SetNumberFormat(sheet, area, format);
}
void JournalingHost::SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) {
  RecordCells(sheet, area);
  inner_.SetNumberFormatLocal(sheet, area, format);
}

}  // namespace tezlo
