// The `tezlo` program: reads its command line and hands it to the batch runner or the terminal
// workbench.
#include <iostream>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "cli/batch_options.h"
#include "cli/batch_run.h"
#include "files/office_lock.h"
#include "files/workbook_file.h"
#include "program/command_line.h"
#include "system/posix/posix_system.h"
#include "tui/run_workbench.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  tezlo::ProgramCommand command;
  try {
    command = tezlo::ParseProgramCommand(args);
  } catch (const tezlo::UsageError& e) {
    std::cerr << "tezlo: " << e.what() << "\n" << tezlo::ProgramUsage();
    return tezlo::kExitUsage;
  }
  switch (command.kind) {
    case tezlo::ProgramCommand::Kind::Help:
    case tezlo::ProgramCommand::Kind::Version: std::cout << command.text; return tezlo::kExitDone;
    case tezlo::ProgramCommand::Kind::Run: {
      tezlo::PosixSystem system;
      const tezlo::WorkbookFiles files{[](const std::string& path,
                                          const tezlo::LoadOptions& options) {
                                         return tezlo::LoadWorkbook(path, options);
                                       },
                                       [](const tezlo::Workbook& book, const std::string& path,
                                          const tezlo::SaveOptions& options) {
                                         return tezlo::SaveWorkbook(book, path, options);
                                       },
                                       [](const std::string& path) {
                                         return tezlo::WorkbookLock::Acquire(path);
                                       }};
      return tezlo::RunBatchCommand(command.runArgs, files, system, std::cout, std::cerr,
                                    tezlo::AllTools());
    }
    case tezlo::ProgramCommand::Kind::Workbench: break;
  }
  return tezlo::RunWorkbench(command.workbench);
}
