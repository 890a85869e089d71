// The command line of `tezlo run`: what to open, how to set the window up, the answers to give
// and the codes to run.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/cell.h"
#include "host/grid_limits.h"
#include "host/system.h"

namespace tezlo {

// A command line that cannot be run; what() says why in one line.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

struct BatchOptions {
  std::string book;     // the workbook file; empty with `sample`
  bool sample = false;  // run on the built-in sample workbook instead of a file
  bool createNew = false;
  std::optional<std::string> sheet;
  std::vector<Area> select;  // the first area's first cell becomes the active cell
  std::optional<Cell> topLeft;
  int32_t windowRows = 40;
  int32_t windowCols = 16;
  int32_t gridRows = kGridRows;
  int32_t gridCols = kGridCols;
  std::vector<std::string> answers;
  std::optional<CalendarDate> today;
  std::optional<std::string> out;
  bool force = false;                     // replace a read-only file
  std::optional<int64_t> maxMemoryBytes;  // --max-memory: the bound on the workbook's memory
  std::vector<std::string> codes;
};

struct BatchCommand {
  bool help = false;  // --help or --version: print `helpText` and stop
  std::string helpText;
  BatchOptions options;
};

// Reads the arguments that follow "run". UsageError for anything that cannot be run.
BatchCommand ParseBatchCommand(const std::vector<std::string>& args);

// "40x16" -> 40 rows, 16 columns; nothing unless both are whole numbers from 1 to the limits.
std::optional<std::pair<int32_t, int32_t>> ParseRowsByCols(const std::string& text, int32_t maxRows,
                                                           int32_t maxCols);
// "2024-03-15" -> that date; nothing for anything else, or a day the calendar does not have.
std::optional<CalendarDate> ParseIsoDate(const std::string& text);

// "512M" -> 512 MiB, "2G", "800K", "1048576": a size in bytes (K, M, G, T in powers of 1024,
// upper or lower case, an optional trailing B); nothing for anything else, zero, or a size past
// 2^62 bytes.
std::optional<int64_t> ParseByteSize(const std::string& text);

// What `tezlo run --help` prints.
std::string BatchUsage();

}  // namespace tezlo
