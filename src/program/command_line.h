// The `tezlo` program's command line, read as one CLI11 application: `tezlo [BOOK]` and
// `tezlo --new BOOK` open the terminal workbench, `tezlo run ...` is the batch runner (whose
// options ParseBatchCommand reads), and `--help` and `--version` answer on each.
#pragma once

#include <string>
#include <vector>

#include "tui/run_workbench.h"

namespace tezlo {

struct ProgramCommand {
  enum class Kind { Workbench, Run, Help, Version };
  Kind kind = Kind::Workbench;
  std::string text;                  // Help: the usage; Version: "tezlo VERSION"
  WorkbenchArgs workbench;           // Workbench
  std::vector<std::string> runArgs;  // Run: the arguments after "run"
};

// Reads the arguments after the program's name. UsageError (batch_options.h), one line, for
// anything that makes no sense.
ProgramCommand ParseProgramCommand(const std::vector<std::string>& args);

// What `tezlo --help` prints; `tezlo run --help` prints BatchUsage().
std::string ProgramUsage();

}  // namespace tezlo
