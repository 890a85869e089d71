// Reading and writing workbooks as xlsx files.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "memory/workbook.h"

namespace tezlo {

// A file that cannot be read or written; what() is one line a user can act on.
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

struct LoadOptions {
  // The grid the workbook gets; a file holding cells beyond it is refused.
  int32_t rows = 1048576;
  int32_t cols = 16384;
  int32_t maxDigitWidthPx = 7;
  // Bounds that keep a hostile file from exhausting memory: unpacked bytes are counted while
  // each part inflates, and cells as they are read.
  int64_t maxPartBytes = int64_t{1} << 30;      // one part of the package, unpacked
  int64_t maxPackageBytes = int64_t{2} << 30;   // all parts together, unpacked
  int64_t maxParts = 10000;                      // entries in the zip archive
  int64_t maxCells = 40'000'000;                 // cells of all sheets, formatted ones included
};

// Reads an xlsx file into a new workbook named after the file. Damaged or hostile input gives a
// FileError, never a crash, in bounded memory.
//
// What the engine does not model (charts, pictures, defined names, conditional formats, panes,
// print settings, macros, ...) is kept with the workbook (Workbook::Kept, SheetView::kept) and
// written back by SaveWorkbook. What cannot be kept (shared and array formulas read as values,
// rich text, ...) is listed in the workbook's UnmodelledContent(), with this file as its source.
// An encrypted workbook or a binary .xls file gives a FileError that says so.
std::unique_ptr<Workbook> LoadWorkbook(const std::string& path, const LoadOptions& options = {});
// The same from the bytes of a file; `name` names the workbook and the file in messages.
std::unique_ptr<Workbook> LoadWorkbookFromBytes(std::string_view bytes, const std::string& name,
                                                const LoadOptions& options = {});

// Writes the workbook as xlsx, atomically: a temporary file in the same folder, flushed, then
// renamed over `path`. On failure `path` is untouched and FileError says why.
//
// Refused (FileError) when `path` is the file the workbook was read from and that file held
// content that cannot be kept: saving over it would lose that content. Saving under
// another name is allowed, since the user chose it.
void SaveWorkbook(const Workbook& book, const std::string& path);

}  // namespace tezlo
