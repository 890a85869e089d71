// The in-memory host: application flags, workbooks and sheets.
#include "memory/memory_host.h"

#include "host/host_error.h"
#include "host/path_parts.h"
#include "text/case_fold.h"
#include "memory/cell_shift.h"
#include "text/valid_utf8.h"

namespace tezlo {

MemoryHost::MemoryHost(MemorySettings settings) : settings_(settings) { AddWorkbook(); }

Workbook& MemoryHost::GetWorkbook(int32_t book) {
  if (book < 1 || book > WorkbookCount()) throw HostError("no such workbook");
  return *books_[static_cast<size_t>(book - 1)];
}

const Workbook& MemoryHost::GetWorkbook(int32_t book) const {
  if (book < 1 || book > static_cast<int32_t>(books_.size())) throw HostError("no such workbook");
  return *books_[static_cast<size_t>(book - 1)];
}

Sheet& MemoryHost::GetSheet(SheetRef sheet) {
  return GetWorkbook(sheet.book).GetSheet(sheet.sheet);
}

Workbook& MemoryHost::Active() {
  if (active_ == 0) throw HostError("no workbook is open");
  return GetWorkbook(active_);
}

Sheet& MemoryHost::ActiveSheetModel() {
  Workbook& book = Active();
  return book.GetSheet(book.ActiveSheetIndex());
}

int32_t MemoryHost::OpenWorkbook(std::unique_ptr<Workbook> book) {
  if (!book) throw HostError("no workbook to open");
  books_.push_back(std::move(book));
  active_ = WorkbookCount();
  return active_;
}

// ---- Application ----

int32_t MemoryHost::RowsCount() { return Active().Rows(); }
int32_t MemoryHost::ColumnsCount() { return Active().Cols(); }

// ---- Workbooks ----

int32_t MemoryHost::ActiveWorkbook() {
  Active();
  return active_;
}

int32_t MemoryHost::AddWorkbook() {
  auto book = std::make_unique<Workbook>("Book" + std::to_string(booksCreated_ + 1), settings_.rows,
                                         settings_.cols, settings_.maxDigitWidthPx,
                                         settings_.sheetsInNewWorkbook);
  ++booksCreated_;
  return OpenWorkbook(std::move(book));
}

void MemoryHost::ActivateWorkbook(int32_t book) {
  GetWorkbook(book);
  active_ = book;
}

std::string MemoryHost::WorkbookName(int32_t book) { return GetWorkbook(book).Name(); }

int32_t MemoryHost::FindWorkbook(const std::string& name) {
  for (size_t i = 0; i < books_.size(); ++i) {
    if (EqualsIgnoringCase(books_[i]->Name(), name)) return static_cast<int32_t>(i) + 1;
  }
  throw HostError("no open workbook has that name");
}

void MemoryHost::SaveWorkbookAs(int32_t book, const std::string& path) {
  Workbook& wb = GetWorkbook(book);
  if (!saver_) throw HostError("no file format available");
  if (FileNameOfAnyPath(path).empty()) throw HostError("no file name given");
  saver_(wb, path);
  wb.SetPath(path);
  wb.SetName(
      ValidUtf8(FileNameOfAnyPath(path)));  // a file name is bytes; the workbook's name is text
}

void MemoryHost::CloseWorkbook(int32_t book, bool saveChanges) {
  Workbook& wb = GetWorkbook(book);
  if (saveChanges) {
    if (wb.Path().empty()) throw HostError("the workbook has never been saved to a file");
    if (!saver_) throw HostError("no file format available");
    saver_(wb, wb.Path());
  }
  books_.erase(books_.begin() + (book - 1));
  if (active_ == book) {
    active_ = WorkbookCount();
  } else if (active_ > book) {
    --active_;
  }
}

// ---- Sheets ----

int32_t MemoryHost::SheetCount(int32_t book) { return GetWorkbook(book).SheetCount(); }

SheetRef MemoryHost::ActiveSheet() {
  Workbook& book = Active();
  return SheetRef{active_, book.ActiveSheetIndex()};
}

std::string MemoryHost::SheetName(SheetRef sheet) { return GetSheet(sheet).Name(); }

void MemoryHost::RenameSheet(SheetRef sheet, const std::string& name) {
  Workbook& book = GetWorkbook(sheet.book);
  const std::string old = book.GetSheet(sheet.sheet).Name();
  book.RenameSheet(sheet.sheet, name);
  if (old == name) return;
  // Every formula naming the sheet names it anew.
  const GridSize grid{book.Rows(), book.Cols()};
  RewriteFormulas(book, [&](const std::string& formula, int32_t) {
    return RenameSheetRefs(formula, old, name, grid);
  });
}

SheetRef MemoryHost::AddSheetAfter(SheetRef sheet) {
  Workbook& book = GetWorkbook(sheet.book);
  const int32_t index = book.AddSheetAfter(sheet.sheet);
  active_ = sheet.book;
  return SheetRef{sheet.book, index};
}

void MemoryHost::DeleteSheet(SheetRef sheet) { GetWorkbook(sheet.book).DeleteSheet(sheet.sheet); }

void MemoryHost::ActivateSheet(SheetRef sheet) {
  GetWorkbook(sheet.book).ActivateSheet(sheet.sheet);
  active_ = sheet.book;
}

}  // namespace tezlo
