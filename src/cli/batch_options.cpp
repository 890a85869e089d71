#include "cli/batch_options.h"

#include <CLI/CLI.hpp>

#include <charconv>

#include "host/a1_address.h"
#include "cli/version.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

constexpr int32_t kMaxGridRows = kGridRows;
constexpr int32_t kMaxGridCols = kGridCols;

// The largest grid as --grid takes it: "1048576x16384".
std::string LargestGridText() {
  return std::to_string(kMaxGridRows) + "x" + std::to_string(kMaxGridCols);
}

std::optional<int32_t> WholeNumber(std::string_view text, int32_t min, int32_t max) {
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < min || v > max) {
    return std::nullopt;
  }
  return v;
}

bool LeapYear(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

std::optional<std::pair<int32_t, int32_t>> ParseRowsByCols(const std::string& text, int32_t maxRows,
                                                           int32_t maxCols) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const std::optional<int32_t> rows = WholeNumber(std::string_view(text).substr(0, x), 1, maxRows);
  const std::optional<int32_t> cols = WholeNumber(std::string_view(text).substr(x + 1), 1, maxCols);
  if (!rows || !cols) return std::nullopt;
  return std::make_pair(*rows, *cols);
}

std::optional<CalendarDate> ParseIsoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::string_view t(text);
  const std::optional<int32_t> y = WholeNumber(t.substr(0, 4), 1900, 9999);
  const std::optional<int32_t> m = WholeNumber(t.substr(5, 2), 1, 12);
  const std::optional<int32_t> d = WholeNumber(t.substr(8, 2), 1, 31);
  if (!y || !m || !d) return std::nullopt;
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int32_t days = kDays[*m - 1] + (*m == 2 && LeapYear(*y) ? 1 : 0);
  if (*d > days) return std::nullopt;
  return CalendarDate{*y, *m, *d};
}

std::optional<int64_t> ParseByteSize(const std::string& text) {
  std::string_view t(text);
  if (!t.empty() && (t.back() == 'B' || t.back() == 'b')) t.remove_suffix(1);
  int shift = 0;
  if (!t.empty()) {
    switch (t.back()) {
      case 'K':
      case 'k': shift = 10; break;
      case 'M':
      case 'm': shift = 20; break;
      case 'G':
      case 'g': shift = 30; break;
      case 'T':
      case 't': shift = 40; break;
      default: break;
    }
    if (shift != 0) t.remove_suffix(1);
  }
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || v <= 0) return std::nullopt;
  if (v > (int64_t{1} << (62 - shift))) return std::nullopt;
  return v << shift;
}

std::string BatchUsage() {
  return "usage: tezlo run BOOK [options] [--] CODE...\n"
         "       tezlo run --sample [options] [--] CODE...\n"
         "Opens BOOK (an xlsx workbook), runs each CODE as if typed into the command box and\n"
         "Entered, and saves the workbook. Codes that begin with - go after --.\n"
         "  --sample            run on the built-in sample workbook (saved only with --out)\n"
         "  --new               BOOK does not exist yet: start from a new workbook\n"
         "  --sheet NAME        activate this sheet first\n"
         "  --select REF        select a cell or range (D66, B2:D5); repeat for more areas\n"
         "  --top-left REF      the window's top-left visible cell before the first code\n"
         "  --window RxC        the window's visible rows and columns (default 40x16)\n"
         "  --grid RxC          sheet size for this run (default " +
         LargestGridText() +
         ")\n"
         "  --answer WORD       answer the next dialog: ok, cancel, or the text for an input box\n"
         "  --today YYYY-MM-DD  the date the tools take as today\n"
         "  --out FILE          save there instead of over BOOK\n"
         "  --force             replace the file even when it is read-only\n"
         "  --max-memory SIZE   refuse a workbook needing more memory (512M, 2G; default half\n"
         "                      the machine's memory, at most 8G)\n"
         "  --help, --version   this text; the program's version\n"
         "stdout: one line per dialog (dialog TITLE TEXT BUTTONS ANSWER) and a final state line.\n"
         "While it runs, BOOK is locked as office programs lock it; a workbook another program\n"
         "holds open is not touched.\n"
         "Exit status: 0 done and saved, 1 a file could not be read or written, 2 usage,\n"
         "3 an internal error stopped a code (nothing saved).\n";
}

BatchCommand ParseBatchCommand(const std::vector<std::string>& args) {
  CLI::App app{"tezlo run"};
  app.set_help_flag();  // --help is handled below, so that CLI11 prints nothing itself
  bool help = false;
  std::string sheet;
  std::vector<std::string> select;
  std::string topLeft;
  std::string window;
  std::string grid;
  std::string today;
  std::string out;
  std::string maxMemory;
  std::vector<std::string> positionals;
  BatchCommand command;
  BatchOptions& o = command.options;
  bool version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_flag("--sample", o.sample);
  app.add_flag("--new", o.createNew);
  app.add_option("--sheet", sheet);
  app.add_option("--select", select)->allow_extra_args(false);
  app.add_option("--top-left", topLeft);
  app.add_option("--window", window);
  app.add_option("--grid", grid);
  app.add_option("--answer", o.answers)->allow_extra_args(false);
  app.add_option("--today", today);
  app.add_option("--out", out);
  app.add_flag("--force", o.force);
  app.add_option("--max-memory", maxMemory);
  app.add_option("args", positionals);

  // CLI11 reads its arguments from the back.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  if (help || version) {
    command.help = true;
    command.helpText = help ? BatchUsage() : "tezlo " + std::string(kVersion) + "\n";
    return command;
  }

  auto given = [&](const char* name) { return app.count(name) > 0; };
  if (given("--grid")) {
    const auto size = ParseRowsByCols(grid, kMaxGridRows, kMaxGridCols);
    if (!size)
      throw UsageError("--grid wants ROWSxCOLUMNS within " + LargestGridText() + ", not \"" + grid +
                       "\"");
    o.gridRows = size->first;
    o.gridCols = size->second;
  }
  if (given("--window")) {
    const auto size = ParseRowsByCols(window, o.gridRows, o.gridCols);
    if (!size)
      throw UsageError("--window wants ROWSxCOLUMNS inside the grid, not \"" + window + "\"");
    o.windowRows = size->first;
    o.windowCols = size->second;
  }
  const GridSize gridSize{o.gridRows, o.gridCols};
  // A reference that is well formed but beyond a smaller --grid gets its own message.
  auto refuseOutside = [&](const char* option, const std::string& ref) {
    if (ParseAreaAddress(ref, GridSize{kMaxGridRows, kMaxGridCols})) {
      throw UsageError(std::string(option) + ": " + ref + " lies outside the " +
                       std::to_string(o.gridRows) + " x " + std::to_string(o.gridCols) + " grid");
    }
  };
  for (const std::string& ref : select) {
    const std::optional<Area> area = ParseAreaAddress(ref, gridSize);
    if (!area) refuseOutside("--select", ref);
    if (!area)
      throw UsageError("--select wants a cell or range such as D66 or B2:D5, not \"" + ref + "\"");
    o.select.push_back(*area);
  }
  if (given("--top-left")) {
    const std::optional<Area> area = ParseAreaAddress(topLeft, gridSize);
    if (!area) refuseOutside("--top-left", topLeft);
    if (!area || area->first != area->last) {
      throw UsageError("--top-left wants one cell such as A1, not \"" + topLeft + "\"");
    }
    o.topLeft = area->first;
  }
  if (given("--today")) {
    o.today = ParseIsoDate(today);
    if (!o.today) throw UsageError("--today wants a date YYYY-MM-DD, not \"" + today + "\"");
  }
  // Text the workbook sees (a sheet name, answers, codes) is made well-formed UTF-8 here, where
  // it enters; file names stay the bytes the file system knows them by.
  if (given("--sheet")) o.sheet = ValidUtf8(sheet);
  for (std::string& answer : o.answers) MakeValidUtf8(answer);
  if (given("--max-memory")) {
    o.maxMemoryBytes = ParseByteSize(maxMemory);
    if (!o.maxMemoryBytes)
      throw UsageError("--max-memory wants a size such as 512M or 2G, not \"" + maxMemory + "\"");
  }
  if (given("--out")) {
    if (out.empty()) throw UsageError("--out wants a file name");
    o.out = out;
  }

  size_t next = 0;
  if (!o.sample) {
    if (positionals.empty())
      throw UsageError("no workbook given: tezlo run BOOK [options] [--] CODE...");
    o.book = positionals[next++];
    if (o.book.empty()) throw UsageError("the workbook's file name is empty");
  } else if (o.createNew) {
    throw UsageError("--new and --sample exclude each other");
  }
  o.codes.assign(positionals.begin() + static_cast<std::ptrdiff_t>(next), positionals.end());
  for (std::string& code : o.codes) MakeValidUtf8(code);
  return command;
}

}  // namespace tezlo
