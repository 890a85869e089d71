// Reading and writing workbooks as xlsx files.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_errors.h"
#include "host/grid_limits.h"
#include "memory/workbook.h"

namespace tezlo {

// Half the machine's memory, at most 8 GB: the default bound on a workbook's memory. (Inline:
// front ends that only name LoadOptions do not link the file layer.)
inline int64_t DefaultMemoryBudget() {
  constexpr int64_t kMost = int64_t{8} << 30;
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kMost;
  return std::min(kMost, static_cast<int64_t>(pages) * pageSize / 2);
}

struct LoadOptions {
  // The grid the workbook gets; a file holding cells beyond it is refused.
  int32_t rows = kGridRows;
  int32_t cols = kGridCols;
  int32_t maxDigitWidthPx = 7;
  // Bounds that keep a hostile file from exhausting memory: unpacked bytes are counted while
  // each part inflates, and cells as they are read.
  int64_t maxPartBytes = int64_t{1} << 30;     // one part of the package, unpacked
  int64_t maxPackageBytes = int64_t{2} << 30;  // all parts together, unpacked
  int64_t maxParts = 10000;                    // entries in the zip archive
  int64_t maxCells = 40'000'000;               // cells of all sheets, formatted ones included
  // Memory the workbook may take once read, about (cells, runs of formatted cells, texts); a
  // file needing more is refused with a message saying so.
  int64_t maxMemoryBytes = DefaultMemoryBudget();
};

// Reads an xlsx file into a new workbook named after the file. Damaged or hostile input gives a
// FileError, never a crash, in bounded memory.
//
// What the engine does not model (charts, pictures, defined names, conditional formats, panes,
// print settings, macros, ...) is kept with the workbook (Workbook::Kept, SheetView::kept) and
// written back by SaveWorkbook. What cannot be kept (shared formulas without their first cell read
// as values, array formulas with a malformed range or overlapping other formulas read as plain
// formulas, data tables, ...) is listed in the workbook's UnmodelledContent(), with this file as
// its source. An encrypted workbook or a binary .xls file gives a FileError that says so.
std::unique_ptr<Workbook> LoadWorkbook(const std::string& path, const LoadOptions& options = {});
// The same from the bytes of a file; `name` names the workbook and the file in messages.
std::unique_ptr<Workbook> LoadWorkbookFromBytes(std::string_view bytes, const std::string& name,
                                                const LoadOptions& options = {});

struct SaveOptions {
  bool force = false;  // replace a read-only file too
};

// What a save that succeeded has to tell the user (the group a replaced file could not keep,
// ...); empty when everything was kept.
struct SaveReport {
  std::vector<std::string> notes;
};

// Writes the workbook as xlsx without ever leaving a partial file under `path`: see ReplaceFile
// (file_replace.h) for links, ownership, mode and leftovers. On failure `path` is untouched and
// FileError says why.
//
// Refused (FileError) when `path` is the file the workbook was read from and that file held
// content that cannot be kept: saving over it would lose that content. Saving under
// another name is allowed, since the user chose it. Refused (LockedFileError) when another
// program holds `path` open (see office_lock.h); ReadOnlyFileError for a read-only file unless
// `options.force`.
SaveReport SaveWorkbook(const Workbook& book, const std::string& path,
                        const SaveOptions& options = {});
// The xlsx package SaveWorkbook writes, as bytes (no file, so nothing is refused).
std::string SaveWorkbookToBytes(const Workbook& book);

}  // namespace tezlo
