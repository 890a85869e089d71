// The `tezlo` program: `tezlo run ...` is the batch runner; anything else opens the terminal workbench.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "cli/batch_run.h"
#include "files/office_lock.h"
#include "files/workbook_file.h"
#include "system/posix/posix_system.h"
#include "tui/run_workbench.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args.front() == "run") {
    tezlo::PosixSystem system;
    const tezlo::WorkbookFiles files{
        [](const std::string& path, const tezlo::LoadOptions& options) {
          return tezlo::LoadWorkbook(path, options);
        },
        [](const tezlo::Workbook& book, const std::string& path, const tezlo::SaveOptions& options) {
          return tezlo::SaveWorkbook(book, path, options);
        },
        [](const std::string& path) { return tezlo::WorkbookLock::Acquire(path); }};
    return tezlo::RunBatchCommand({args.begin() + 1, args.end()}, files, system, std::cout,
                                  std::cerr, tezlo::AllTools());
  }
  // Anything else opens the terminal workbench: on BOOK, on a new workbook, or on the sample.
  std::string error;
  const std::optional<tezlo::WorkbenchArgs> workbench = tezlo::ParseWorkbenchArgs(args, error);
  if (!workbench) {
    std::cerr << "tezlo: " << error << "\n"
              << "usage: tezlo [BOOK]            the workbench on BOOK (xlsx), or on the sample\n"
              << "       tezlo --new BOOK        the workbench on a new workbook saved to BOOK\n"
              << "       tezlo run BOOK [options] [--] CODE...   (tezlo run --help for more)\n";
    return tezlo::kExitUsage;
  }
  return tezlo::RunWorkbench(*workbench);
}
