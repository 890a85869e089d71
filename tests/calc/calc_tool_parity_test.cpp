// Every family of function codes run through the dispatcher twice, on the memory engine and on a
// new Calc document, with the same scripted dialog answers and the same fixed system: on the
// sample workbook and on a small topic-block workbook, dialogs answered OK and Cancel. Afterwards
// both must agree on the whole workbook (see workbook_snapshot.h), on the dialogs shown and on
// the workbooks saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "memory/workbook.h"
#include "office_for_tests.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"
#include "known_differences.h"
#include "topic_block_workbook.h"
#include "workbook_snapshot.h"

namespace tezlo {
namespace {

namespace uno = css::uno;
using Input = std::optional<std::string>;

enum class Book { Sample, Topics };

// Where the two spreadsheets are known to part, each asserted as such below.
enum class Difference {
  None,
  // Chinese texts sorted by each spreadsheet's own collator: characters with two readings
  // (重, 长, 朝, 厦) fall in different places.
  Collation,
  // Columns and rows that come in at the sheet's right or bottom edge when columns or rows are
  // deleted take each spreadsheet's own default size: Excel's standard 8.43 characters (48
  // points) and 13.5 points in the memory engine, Calc's 2.258 cm (64 points) and 0.45 cm (12.8
  // points) in Calc.
  EdgeSizes,
  // Calc's used area holds the cells with contents; Excel's UsedRange, which the memory engine
  // follows, also the cells with a fill of their own, such as the column-block marks.
  FilledCellsUnused,
};

struct Scenario {
  const char* name;
  Book book;
  const char* code;
  Selection selection;
  std::vector<Answer> answers = {};
  std::vector<Input> inputs = {};
  int32_t sheet = 1;  // the sheet active when the code runs
  Difference difference = Difference::None;
};

Selection At(int32_t row, int32_t col) {
  return Selection{{Area::Of(row, col, row, col)}, Cell{row, col}};
}
Selection Block(Area area) { return Selection{{area}, area.first}; }
Selection Two(Cell a, Cell b) { return Selection{{Area::Of(a), Area::Of(b)}, b}; }

constexpr Answer kOk = Answer::Ok;
constexpr Answer kCancel = Answer::Cancel;
constexpr Book S = Book::Sample;
constexpr Book T = Book::Topics;

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      // Block tools.
      {"insert rows", S, "+3", At(53, 2)},
      {"insert rows in the second block", T, "+2", At(3, 15)},
      {"delete rows", S, "-2", At(58, 2)},
      {"delete rows refused", S, "-2", At(54, 2)},
      {"delete rows confirmed", S, "-2", At(54, 2), {kOk}},
      {"delete rows cancelled", T, "-3", At(103, 2), {kCancel}},
      {"insert one row", S, "++", At(55, 3)},
      {"delete one row", T, "--", At(113, 2), {kOk}},
      {"visible cell", S, "0312", At(60, 4)},
      {"visible cell slash", T, "/05", At(101, 1)},
      {"top left", S, "", At(84, 3)},
      {"swap cells", S, "*2", Two({53, 2}, {55, 4})},
      {"swap region rows", S, "*3", Two({68, 2}, {70, 3})},
      {"swap region columns", T, "*4", Two({103, 2}, {104, 4})},
      {"sort ascending", S, "*5", At(68, 5)},
      {"sort descending", S, "*6", At(84, 3)},
      {"sort mixed case", T, "*5", At(3, 15)},
      {"sort two readings", T, "*5", At(103, 2), {}, {}, 1, Difference::Collation},
      {"save sizes", T, "*7", At(101, 1)},
      {"restore sizes", T, "*8", At(113, 3)},
      {"restore sizes without a note", S, "*8", At(51, 1)},
      {"select region", S, "*9", At(69, 3)},
      {"move region to end", T, "*16", At(112, 2), {}, {}, 1, Difference::EdgeSizes},
      {"move region to end sample", S, "*16", At(68, 2), {}, {}, 1, Difference::EdgeSizes},
      // Topic tools.
      {"slim to end", S, "999", At(1, 1)},
      {"slim to end topics", T, "999", At(5, 5)},
      {"topic jump", S, "105", At(1, 1)},
      {"topic jump making room", T, "101", At(1, 1)},
      {"topic jump new block", T, "201", At(1, 1)},
      {"topic jump outside index", T, "1101", At(1, 1)},
      // The marks colour every 13th column of the sheet, one call each: only one scenario has them.
      {"set up sheet", S, "*1", At(1, 1), {kOk, kCancel, kOk}},
      {"set up sheet cancelled", T, "*1", At(1, 1), {kCancel, kCancel, kCancel}},
      {"set up sheet marks only",
       T,
       "*1",
       At(1, 1),
       {kCancel, kOk, kCancel},
       {},
       1,
       Difference::FilledCellsUnused},
      {"slim workbook", T, "*15", At(1, 1), {kOk}},
      {"slim workbook cancelled", T, "*15", At(1, 1), {kCancel}, {}, 1, Difference::EdgeSizes},
      // Each topic word "*17" copies is searched for in every column block of the sheet, a round
      // trip or more per block: on "+2" there are half as many blocks as on "+1".
      {"copy topic blocks", T, "*17", At(1, 1), {}, {}, 2},
      {"topic list", S, "*19", At(1, 1)},
      {"not a working sheet", T, "*19", At(2, 2), {}, {}, 3},
      // Data tools.
      {"block to column", S, "*11", Block(Area::Of(53, 2, 56, 4))},
      {"column to block", S, "*12", Block(Area::Of(83, 2, 94, 2)), {}, {"4"}},
      {"column to block cancelled", T, "*12", Block(Area::Of(102, 2, 107, 2)), {}, {std::nullopt}},
      {"desktop items", S, "*13", At(1, 1)},
      {"processes", T, "*14", At(1, 1)},
      {"compare columns", S, "*18", At(1, 14), {kOk}},
      {"compare columns cancelled", S, "*18", At(1, 14), {kCancel}},
      {"compare columns topics", T, "*18", At(112, 2), {kOk}},
      {"drive folders", S, "*20", At(1, 1)},
      {"id cards", S, "*21", Block(Area::Of(106, 2, 109, 2)), {kOk}},
      {"id cards cancelled", S, "*21", Block(Area::Of(106, 2, 109, 2)), {kCancel}},
      {"text to number", T, "*22", Block(Area::Of(112, 2, 115, 3)), {}, {"1"}},
      {"number to text", S, "*22", Block(Area::Of(83, 3, 95, 4)), {}, {"2"}},
      {"text number cancelled", T, "*22", Block(Area::Of(112, 2, 115, 2)), {}, {std::nullopt}},
      {"template export", S, "*780", At(5, 5)},
      {"template export topics", T, "*780", At(1, 1), {}, {}, 2},
  };
  return all;
}

// The same sizes everywhere first (Calc's default column width and row height are its own).
void Prepare(Host& host, const Scenario& s) {
  const int32_t book = host.ActiveWorkbook();
  for (int32_t i = 1; i <= host.SheetCount(book); ++i) {
    const SheetRef each{book, i};
    host.SetColumnWidth(each, 1, host.ColumnsCount(), 8.43);
    host.SetRowHeight(each, 1, host.RowsCount(), 13.5);
  }
  if (s.book == Book::Sample) {
    BuildSampleWorkbook(host);
  } else {
    BuildTopicBlockWorkbook(host);
  }
  host.ActivateSheet(SheetRef{book, s.sheet});
  host.Select(s.selection);
  // Calc scrolls its view to a selection made through the API; both start from A1.
  host.SetScrollRow(1);
  host.SetScrollColumn(1);
}

// Where a code leaves the view is compared only for the codes that scroll on purpose (they put
// a cell at the window's top-left). After a plain selection the memory engine scrolls as far as
// its nominal window needs, while Calc's hidden window, which has no size, puts the selection at
// its top-left: a difference of the window, not of the tool.
bool ScrollIsCompared(const Scenario& s) {
  const std::string code = s.code;
  return code.empty() || code[0] == '0' || code[0] == '/' ||
         std::isdigit(static_cast<unsigned char>(code[0])) != 0 || code == "*1";
}

void DropTopLeft(std::vector<std::string>& lines) {
  if (!lines.empty() && lines.back().starts_with(kTopLeftLine)) lines.pop_back();
}

// A folder of its own for what one run saves, gone with it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tezlo-parity-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Runs one code as the command box does, with the scenario's answers and a fixed system.
std::vector<std::string> RunCode(Host& host, const Scenario& s, const std::string& folder) {
  ScriptedUi ui;
  for (const Answer a : s.answers) ui.QueueAnswer(a);
  for (const Input& i : s.inputs) ui.QueueInput(i);
  FixedSystem system;
  system.SetToday({2024, 3, 15});
  system.SetTemplateFolder(folder);
  system.SetDesktopItems({"报告.docx", "notes.txt", "照片"});
  system.SetProcesses({{"soffice.bin", "tezlo", 4711, 102400.5, "/usr/lib/libreoffice/soffice.bin"},
                       {"bash", "", 12, 3072, ""}});
  system.SetDriveFolderListing({"/", "/home", "/home/用户", "/tmp"});
  Context ctx(host, ui, system);
  ctx.tools = AllTools();
  ctx.funcCode = s.code;
  Dispatch(ctx);
  return ui.DialogLines();
}

// A saved workbook as lines: its file name, its sheets and the values of its first sheet.
void DescribeSaved(const std::string& file, std::vector<std::string> sheets,
                   const std::vector<std::pair<Cell, Value>>& cells,
                   std::vector<std::string>& lines) {
  std::string names;
  for (const std::string& n : sheets) names += " " + n;
  lines.push_back("saved " + file + " sheets" + names);
  for (const auto& [cell, value] : cells) {
    const std::string v = DescribeValue(value);
    if (!v.empty())
      lines.push_back(std::to_string(cell.row) + "," + std::to_string(cell.col) + " " + v);
  }
}

// Each workbook Calc wrote into `folder`, opened again in the office and read through the host.
std::vector<std::string> SavedInCalc(CalcHost& calc, const std::string& folder) {
  std::vector<std::string> lines;
  const uno::Reference<css::frame::XModel> model(calc.Document(1), uno::UNO_QUERY_THROW);
  const uno::Reference<css::frame::XComponentLoader> loader(
      model->getCurrentController()->getFrame()->getCreator(), uno::UNO_QUERY_THROW);
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& path : files) {
    css::beans::PropertyValue hidden;
    hidden.Name = "Hidden";
    hidden.Value <<= true;
    const std::string url = "file://" + path.string();
    const uno::Reference<css::sheet::XSpreadsheetDocument> doc(
        loader->loadComponentFromURL(ToOUString(url), "_blank", 0,
                                     uno::Sequence<css::beans::PropertyValue>(&hidden, 1)),
        uno::UNO_QUERY_THROW);
    const std::string file = path.filename().string();
    const int32_t book = calc.AdoptDocument(doc, file);
    std::vector<std::string> sheets;
    for (int32_t i = 1; i <= calc.SheetCount(book); ++i)
      sheets.push_back(calc.SheetName({book, i}));
    const Area used = calc.UsedRange({book, 1});
    const Matrix values = calc.GetValues({book, 1}, used);
    std::vector<std::pair<Cell, Value>> cells;
    for (int32_t r = used.first.row; r <= used.last.row; ++r) {
      for (int32_t c = used.first.col; c <= used.last.col; ++c)
        cells.emplace_back(Cell{r, c}, values.At(r - used.first.row, c - used.first.col));
    }
    DescribeSaved(file, sheets, cells, lines);
    calc.CloseWorkbook(book, false);
  }
  return lines;
}

class CalcToolParity : public ::testing::TestWithParam<size_t> {};

TEST_P(CalcToolParity, SameWorkbookDialogsAndSavesInCalc) {
  const Scenario& s = Scenarios()[GetParam()];
  SCOPED_TRACE(std::string(s.name) + " \"" + s.code + "\"");
  MemorySettings settings;
  settings.sheetsInNewWorkbook = 3;
  MemoryHost memory(settings);
  // What each file holds after the last save into it (the template is saved, then closed with
  // its changes saved), by file name.
  std::map<std::string, std::vector<std::string>> memoryFiles;
  memory.SetSaver([&](const Workbook& book, const std::string& path) {
    std::vector<std::string> sheets;
    for (int32_t i = 1; i <= book.SheetCount(); ++i) sheets.push_back(book.GetSheet(i).Name());
    std::vector<std::pair<Cell, Value>> cells;
    book.GetSheet(1).ForEachCellByRow(
        [&](Cell cell, const CellRecord& record) { cells.emplace_back(cell, record.value); });
    const std::string file = std::filesystem::path(path).filename().string();
    memoryFiles[file].clear();
    DescribeSaved(file, sheets, cells, memoryFiles[file]);
  });
  auto calc = NewCalcHost(3);
  Prepare(memory, s);
  Prepare(*calc, s);
  const std::vector<std::string> before = WorkbookSnapshot(memory);
  // Both builders are compared whole once per workbook; after that the selection is enough.
  static bool compared[2] = {false, false};
  if (!std::exchange(compared[static_cast<int>(s.book)], true)) {
    const std::vector<std::string> prepared = WorkbookSnapshot(*calc);
    ASSERT_TRUE(prepared == before) << "prepared: " << FirstDifference(before, prepared);
  } else {
    ASSERT_EQ(calc->GetSelection().areas, memory.GetSelection().areas);
  }

  std::vector<std::string> namesBefore;
  for (int32_t i = 1; i <= memory.SheetCount(memory.ActiveWorkbook()); ++i)
    namesBefore.push_back(memory.SheetName({memory.ActiveWorkbook(), i}));
  const TempFolder memoryFolder;
  const TempFolder calcFolder;
  const std::vector<std::string> memoryDialogs = RunCode(memory, s, memoryFolder.Path());
  const std::vector<std::string> calcDialogs = RunCode(*calc, s, calcFolder.Path());
  EXPECT_EQ(calcDialogs, memoryDialogs);
  const std::vector<Area> frames = JoinedFrames(memory, *calc);
  std::vector<std::string> after = WorkbookSnapshot(memory, frames);
  std::vector<std::string> calcAfter = WorkbookSnapshot(*calc, frames);
  std::vector<std::string> unchanged = before;
  DropNewSheetSizes(namesBefore, after, calcAfter);
  if (!ScrollIsCompared(s)) {
    DropTopLeft(after);
    DropTopLeft(calcAfter);
    DropTopLeft(unchanged);
  }
  switch (s.difference) {
    case Difference::None:
      EXPECT_TRUE(calcAfter == after) << FirstDifference(after, calcAfter);
      break;
    case Difference::Collation: ExpectOwnCollation(after, calcAfter); break;
    case Difference::EdgeSizes: ExpectEdgeSizes(after, calcAfter); break;
    case Difference::FilledCellsUnused:
      ExpectFilledCellsUnused(after, calcAfter, memory.RowsCount() - 1);
      break;
  }
  std::vector<std::string> memorySaves;
  for (const auto& [file, lines] : memoryFiles)
    memorySaves.insert(memorySaves.end(), lines.begin(), lines.end());
  const std::vector<std::string> calcSaves = SavedInCalc(*calc, calcFolder.Path());
  EXPECT_TRUE(calcSaves == memorySaves) << "saved: " << FirstDifference(memorySaves, calcSaves);
  // The comparison means something only when the code changed the workbook, spoke or saved; a
  // size note that is not there restores nothing, silently.
  if (std::string(s.code) != "*8" || s.book == Book::Topics) {
    EXPECT_TRUE(after != unchanged || !memoryDialogs.empty() || !memorySaves.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, CalcToolParity, ::testing::Range(size_t{0}, Scenarios().size()),
                         [](const ::testing::TestParamInfo<size_t>& scenario) {
                           std::string name;
                           for (char c : std::string(Scenarios()[scenario.param].name)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace tezlo
