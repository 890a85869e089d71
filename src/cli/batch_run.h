// `tezlo run`: opens a workbook, runs function codes on it as the command box would, prints every
// dialog and the final state, and saves it.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_options.h"
#include "dispatch/tool_table.h"
#include "files/office_lock.h"
#include "files/workbook_file.h"
#include "host/host.h"
#include "host/system.h"
#include "memory/workbook.h"

namespace tezlo {

// How a run reads, writes and locks workbook files: the program passes the xlsx layer, tests
// their own. Load and save throw FileError with a one-line reason; lock throws LockedFileError
// when another program holds the file, and may be left empty (no locking).
struct WorkbookFiles {
  std::function<std::unique_ptr<Workbook>(const std::string& path, const LoadOptions& options)>
      load;
  std::function<SaveReport(const Workbook& book, const std::string& path,
                           const SaveOptions& options)>
      save;
  std::function<WorkbookLock(const std::string& path)> lock;
};

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInternalError = 3;  // a fault of ours stopped a code; nothing saved

// Runs one parsed command line. Dialog lines and the state line go to `out`; a failure is one
// line on `err`. Nothing is written to any file unless every code ran.
// `tools` is the table the codes run through (the program passes AllTools(), tests their own).
int RunBatch(const BatchOptions& options, const WorkbookFiles& files, System& system,
             std::ostream& out, std::ostream& err, ToolTable tools);

// Parses the arguments after "run" and runs them; usage errors and --help are handled here.
int RunBatchCommand(const std::vector<std::string>& args, const WorkbookFiles& files,
                    System& system, std::ostream& out, std::ostream& err, ToolTable tools);

// "state sheet=NAME active=D66 selection=D66,F1:G2 top-left=A1 editing=no", tab-separated.
std::string StateLine(Host& host, bool editing);

}  // namespace tezlo
