#include "tui/run_workbench.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "host/host_error.h"
#include "memory/memory_host.h"
#include "system/posix/posix_system.h"
#include "tui/curses_terminal.h"
#include "tui/text_width.h"
#include "tui/workbench.h"
#include "host/path_parts.h"
#include "files/office_lock.h"
#include "files/workbook_file.h"
#include "files/xlsx_files.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Fills the host with the workbook to show; an error message for the user when it cannot.
std::string OpenBook(MemoryHost& host, const WorkbenchArgs& args) {
  if (args.book.empty()) {
    BuildSampleWorkbook(host);
    return {};
  }
  if (args.create) {
    if (Exists(args.book)) return args.book + " exists already; open it with: tezlo " + args.book;
    Workbook& book = host.GetWorkbook(host.ActiveWorkbook());
    book.SetName(
        ValidUtf8(FileNameOf(args.book)));  // a file name is bytes; the workbook's name is text
    book.SetPath(args.book);
    return {};
  }
  try {
    std::unique_ptr<Workbook> book = LoadWorkbook(args.book);
    book->SetPath(args.book);
    host.CloseWorkbook(host.ActiveWorkbook(), false);
    host.OpenWorkbook(std::move(book));
    return {};
  } catch (const std::exception& e) {
    return e.what();
  }
}

// Locks the workbook for the session. When another program holds it, the user chooses between
// opening it read-only (the reason is returned) and not opening it (nullopt).
std::optional<std::string> LockBook(const std::string& path, WorkbookLock& lock) {
  try {
    lock = WorkbookLock::Acquire(path);
    return std::string();
  } catch (const LockedFileError& e) {
    std::cerr << "tezlo: " << e.what() << ".\nOpen it read-only? [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    if (answer == "y" || answer == "Y" || answer == "yes") return std::string(e.what());
    return std::nullopt;
  }
}

}  // namespace

int RunWorkbench(const WorkbenchArgs& args) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fprintf(stderr, "tezlo: the workbench needs a terminal\n");
    return 2;
  }
  UseUtf8CharacterWidths();
  WorkbookLock lock;
  std::string readOnly;
  if (!args.book.empty()) {
    const std::optional<std::string> reason = LockBook(args.book, lock);
    if (!reason) return 1;
    readOnly = *reason;
  }
  MemoryHost host;
  try {
    const std::string problem = OpenBook(host, args);
    if (!problem.empty()) {
      std::fprintf(stderr, "tezlo: %s\n", problem.c_str());
      return 1;
    }
  } catch (const HostError& e) {
    std::fprintf(stderr, "tezlo: %s\n", e.what());
    return 1;
  }
  UseXlsxFiles(host);
  BookSaver save = [](const Workbook& book, const std::string& path, const SaveOptions& options) {
    return SaveWorkbook(book, path, options);
  };
  PosixSystem system;
  CursesTerminal terminal;
  Workbench bench(host, terminal, system, AllTools(), save);
  if (!readOnly.empty()) bench.OpenedReadOnly(args.book, readOnly);
  bench.Run();
  return 0;
}

}  // namespace tezlo
