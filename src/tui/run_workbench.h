// `tezlo [BOOK]` and `tezlo --new BOOK`: the terminal workbench on a workbook file, a new
// workbook, or the built-in sample.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tezlo {

struct WorkbenchArgs {
  std::string book;     // empty: the built-in sample
  bool create = false;  // --new: a new workbook that saves to `book`
};

// Runs the workbench until the user quits; the exit status.
int RunWorkbench(const WorkbenchArgs& args);

}  // namespace tezlo
