#include "cli/batch_run.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "app/sample_workbook.h"
#include "host/a1_address.h"
#include "cli/batch_ui.h"
#include "cli/dated_system.h"
#include "dispatch/command_box.h"
#include "dispatch/context.h"
#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr const char* kProgram = "tezlo run: ";

// The command box of a batch run has no window: each code is typed into it and Entered.
class NoWindow final : public CommandBoxWindow {
 public:
  void SetText(const std::string&) override {}
  void StartTimer(int32_t) override {}
  void StopTimer() override {}
  void Close() override {}
};

// Where the workbook the run works on sits among the host's workbooks now; 0 once a code has
// closed it.
int32_t IndexOf(MemoryHost& host, const Workbook* book) {
  for (int32_t i = 1; i <= host.WorkbookCount(); ++i) {
    if (&host.GetWorkbook(i) == book) return i;
  }
  return 0;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// Opens the workbook the options name; nullopt after reporting why it cannot be.
std::optional<int> OpenBook(const BatchOptions& o, const WorkbookFiles& files, MemoryHost& host,
                            std::ostream& err) {
  if (o.sample) {
    BuildSampleWorkbook(host);
    host.GetWorkbook(1).SetName("sample");
    return std::nullopt;
  }
  if (o.createNew) {
    if (FileExists(o.book)) {
      err << kProgram << o.book << " exists already; leave out --new to open it\n";
      return kExitUsage;
    }
    return std::nullopt;
  }
  try {
    LoadOptions load;
    load.rows = o.gridRows;
    load.cols = o.gridCols;
    if (o.maxMemoryBytes) load.maxMemoryBytes = *o.maxMemoryBytes;
    std::unique_ptr<Workbook> book = files.load(o.book, load);
    host.OpenWorkbook(std::move(book));
    host.CloseWorkbook(1, false);  // the empty workbook the host starts with
  } catch (const FileError& e) {
    err << kProgram << e.what() << (FileExists(o.book) ? "" : " (--new starts a new workbook)")
        << '\n';
    return kExitFileError;
  }
  return std::nullopt;
}

// --sheet, --select and --top-left; nullopt after reporting a refusal.
std::optional<int> SetUpView(const BatchOptions& o, MemoryHost& host, std::ostream& err) {
  const int32_t book = host.ActiveWorkbook();
  if (o.sheet) {
    const int32_t index = host.GetWorkbook(book).FindSheet(*o.sheet);
    if (index == 0) {
      err << kProgram << "the workbook has no sheet named \"" << *o.sheet << "\"\n";
      return kExitUsage;
    }
    host.ActivateSheet(SheetRef{book, index});
  }
  try {
    if (!o.select.empty()) host.Select(Selection{o.select, o.select.front().first});
    if (o.topLeft) {
      host.SetScrollRow(o.topLeft->row);
      host.SetScrollColumn(o.topLeft->col);
    }
  } catch (const HostError& e) {
    err << kProgram << "cannot set up the window: " << e.what() << '\n';
    return kExitUsage;
  }
  return std::nullopt;
}

}  // namespace

std::string StateLine(Host& host, bool editing) {
  const Selection selection = host.GetSelection();
  std::string areas;
  for (const Area& a : selection.areas) {
    if (!areas.empty()) areas += ',';
    areas += AreaRefText(a);
  }
  return "state\tsheet=" + EscapeField(host.SheetName(host.ActiveSheet())) +
         "\tactive=" + CellRefText(selection.active) + "\tselection=" + areas +
         "\ttop-left=" + CellRefText(host.TopLeftVisibleCell()) +
         "\tediting=" + (editing ? "yes" : "no");
}

int RunBatch(const BatchOptions& o, const WorkbookFiles& files, System& system, std::ostream& out,
             std::ostream& err, ToolTable tools) {
  MemorySettings settings;
  settings.rows = o.gridRows;
  settings.cols = o.gridCols;
  settings.visibleRows = o.windowRows;
  settings.visibleCols = o.windowCols;
  MemoryHost host(settings);
  // A code that saves a workbook of its own (the template export) writes it through the files.
  host.SetSaver([&files](const Workbook& book, const std::string& path) {
    try {
      files.save(book, path, SaveOptions{});
    } catch (const FileError& e) {
      throw HostError(e.what());
    }
  });

  // The workbook stays locked for the whole run, so that no other program (and no second run)
  // changes it between the load and the save.
  WorkbookLock lock;
  if (!o.sample && files.lock) {
    try {
      lock = files.lock(o.book);
    } catch (const LockedFileError& e) {
      err << kProgram << e.what() << "; nothing was changed\n";
      return kExitFileError;
    }
  }
  if (const std::optional<int> failed = OpenBook(o, files, host, err)) return *failed;
  const Workbook* target = &host.GetWorkbook(host.ActiveWorkbook());
  if (const std::optional<int> failed = SetUpView(o, host, err)) return *failed;

  BatchUi ui(o.answers, out);
  DatedSystem dated(system, o.today);
  Context ctx(host, ui, dated);
  ctx.tools = tools;
  NoWindow window;
  CommandBox box(ctx, window);
  for (const std::string& code : o.codes) {
    box.OnEnter(code);
    if (ctx.internalError) {
      err << kProgram << "internal error in the code \"" << code << "\": " << *ctx.internalError
          << "; nothing saved\n";
      return kExitInternalError;
    }
    if (ui.Misfit()) {
      err << kProgram << "the answer \"" << *ui.Misfit()
          << "\" does not fit a message box (ok or cancel); nothing saved\n";
      return kExitUsage;
    }
  }
  out << StateLine(host, host.EditingRequested()) << '\n';
  out.flush();

  if (o.sample && !o.out) return kExitDone;
  const int32_t index = IndexOf(host, target);
  if (index == 0) {
    err << kProgram << "a code closed the workbook; nothing saved\n";
    return kExitFileError;
  }
  try {
    SaveOptions save;
    save.force = o.force;
    for (const std::string& note :
         files.save(host.GetWorkbook(index), o.out ? *o.out : o.book, save).notes) {
      err << kProgram << "note: " << note << '\n';
    }
  } catch (const ReadOnlyFileError& e) {
    err << kProgram << e.what() << " (--force replaces it anyway)\n";
    return kExitFileError;
  } catch (const FileError& e) {
    err << kProgram << e.what() << '\n';
    return kExitFileError;
  }
  return kExitDone;
}

int RunBatchCommand(const std::vector<std::string>& args, const WorkbookFiles& files,
                    System& system, std::ostream& out, std::ostream& err, ToolTable tools) {
  BatchCommand command;
  try {
    command = ParseBatchCommand(args);
  } catch (const UsageError& e) {
    err << kProgram << e.what() << " (tezlo run --help shows the options)\n";
    return kExitUsage;
  }
  if (command.help) {
    out << command.helpText;
    return kExitDone;
  }
  try {
    return RunBatch(command.options, files, system, out, err, tools);
  } catch (const std::exception& e) {
    // The dispatcher lets nothing escape a code; this is the set-up or the sample failing.
    err << kProgram << e.what() << '\n';
    return kExitFileError;
  }
}

}  // namespace tezlo
