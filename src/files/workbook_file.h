// Reading and writing workbooks as xlsx files.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

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
};

// Reads an xlsx file into a new workbook named after the file. Damaged or hostile input gives a
// FileError, never a crash, in bounded memory.
std::unique_ptr<Workbook> LoadWorkbook(const std::string& path, const LoadOptions& options = {});

// Writes the workbook as xlsx, atomically: a temporary file in the same folder, flushed, then
// renamed over `path`. On failure `path` is untouched and FileError says why.
void SaveWorkbook(const Workbook& book, const std::string& path);

}  // namespace tezlo
