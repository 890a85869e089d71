// Every function code family run twice on the sample workbook: on the memory engine directly and
// through the Excel adapter onto the double of Excel (the same engine behind IDispatch). Dialogs
// are answered from the same script on both paths; afterwards the two workbooks must agree in
// every workbook, sheet, value, formula, format, colour, comment, column width, row height,
// selection and scroll position, and the two paths must have shown the same dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "excel/excel_host.h"
#include "fake_excel.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo {
namespace {

struct Scenario {
  const char* name;
  const char* code;
  Selection selection;
  int32_t sheet = 1;
  std::vector<Answer> answers = {};
  std::vector<std::optional<std::string>> inputs = {};
  // What the workbook needs beyond the sample, done on the engine before either path runs.
  void (*extra)(Host&) = nullptr;
};

// Sizes saved earlier by "*7" in the comment of the contacts' topic word: 13 column widths in
// points, then the block's row heights.
void SavedSizes(Host& host) {
  host.AddComment({1, 1}, {51, 1},
                  "60,90,90,48,48,48,48,48,48,48,48,48,54,20,20,20,20,20,20,20,20,20,20,30");
}

Selection At(int32_t row, int32_t col) {
  return Selection{{Area::Of(row, col, row, col)}, Cell{row, col}};
}
Selection Block(Area area) { return Selection{{area}, area.first}; }

std::string Describe(const Value& v) {
  char number[40];
  switch (v.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Number:
    case ValueKind::Date:
      std::snprintf(number, sizeof number, "%c%.17g", v.IsDate() ? 'D' : 'N', v.AsNumber());
      return number;
    case ValueKind::Text: return "T" + v.AsText();
    case ValueKind::Boolean: return v.AsBoolean() ? "B1" : "B0";
    case ValueKind::Error: return "E" + std::to_string(static_cast<int>(v.AsError()));
  }
  return "?";
}

std::string Describe(const Area& a) {
  return std::to_string(a.first.row) + "," + std::to_string(a.first.col) + ":" +
         std::to_string(a.last.row) + "," + std::to_string(a.last.col);
}

// One line per fact the two paths must agree on, read from the engine itself (not through the
// adapter), so a difference points at what the adapter or the double did differently.
std::vector<std::string> Snapshot(MemoryHost& h) {
  std::vector<std::string> lines;
  const auto add = [&](std::string line) { lines.push_back(std::move(line)); };
  add("books " + std::to_string(h.WorkbookCount()) + " active " +
      std::to_string(h.ActiveWorkbook()));
  for (int32_t b = 1; b <= h.WorkbookCount(); ++b) {
    add("book " + std::to_string(b) + " " + h.WorkbookName(b) + " sheets " +
        std::to_string(h.SheetCount(b)));
    for (int32_t s = 1; s <= h.SheetCount(b); ++s) {
      const SheetRef ref{b, s};
      const std::string at = std::to_string(b) + "/" + std::to_string(s) + " ";
      const Area used = h.UsedRange(ref);
      add(at + "name " + h.SheetName(ref) + " used " + Describe(used));
      // A margin around the used range catches writes just beyond it.
      const int32_t lastRow = std::min(used.last.row + 3, h.RowsCount());
      const int32_t lastCol = std::min(used.last.col + 3, h.ColumnsCount());
      for (int32_t r = 1; r <= lastRow; ++r) {
        for (int32_t c = 1; c <= lastCol; ++c) {
          const Cell cell{r, c};
          std::string facts;
          const std::string value = Describe(h.GetValue(ref, cell));
          if (!value.empty()) facts += " v=" + value;
          if (h.HasFormula(ref, cell)) facts += " f=" + h.GetFormula(ref, cell);
          const std::string format = h.NumberFormat(ref, cell);
          if (format != "General") facts += " nf=" + format;
          const int32_t color = h.ColorIndex(ref, cell);
          if (color != 0 && color != xl::kColorIndexNone) facts += " ci=" + std::to_string(color);
          if (h.HasComment(ref, cell)) facts += " c=" + h.CommentText(ref, cell);
          if (!facts.empty()) add(at + std::to_string(r) + "," + std::to_string(c) + facts);
        }
        add(at + "row " + std::to_string(r) + " h=" + std::to_string(h.RowHeight(ref, r)));
      }
      for (int32_t c = 1; c <= lastCol; ++c) {
        add(at + "col " + std::to_string(c) + " w=" + std::to_string(h.ColumnWidth(ref, c)));
      }
    }
  }
  const SheetRef active = h.ActiveSheet();
  add("active sheet " + std::to_string(active.book) + "/" + std::to_string(active.sheet));
  const Selection selection = h.GetSelection();
  std::string areas;
  for (const Area& a : selection.areas) areas += " " + Describe(a);
  add("selection" + areas + " active " + std::to_string(selection.active.row) + "," +
      std::to_string(selection.active.col));
  const Cell top = h.TopLeftVisibleCell();
  add("scrolled to " + std::to_string(top.row) + "," + std::to_string(top.col));
  return lines;
}

struct Outcome {
  std::vector<std::string> before;  // the workbook as prepared, before the code ran
  std::vector<std::string> workbook;
  std::vector<std::string> dialogs;
  std::vector<std::string> saved;  // the paths workbooks were saved to
};

void FillListings(FixedSystem& system) {
  system.SetToday({2024, 3, 15});
  system.SetProcesses({ProcessInfo{"EXCEL.EXE", "user", 4242, 81234.5, "C:\\Office\\EXCEL.EXE"},
                       ProcessInfo{"System", "", 4, 0, ""}});
  system.SetDriveFolderListing({" Volume in drive C has no label.", " Directory of C:\\", "",
                                "2024-01-05  10:00    <DIR>          Users",
                                "               1 Dir(s)", ""});
  system.SetDesktopItems({"报告.docx", "Notes.txt", "Projects"});
  system.SetTemplateFolder("D:\\My Documents\\1\\44");
  system.SetPointer({300, 200});
}

void Prepare(MemoryHost& host, const Scenario& s, std::vector<std::string>& saved) {
  host.SetSaver([&saved](const Workbook& book, const std::string& path) {
    saved.push_back(path + " sheets " + std::to_string(book.SheetCount()));
  });
  BuildSampleWorkbook(host);
  if (s.extra) s.extra(host);
  host.ActivateSheet({1, s.sheet});
  host.Select(s.selection);
}

void Run(Host& host, const Scenario& s, ScriptedUi& ui) {
  for (Answer a : s.answers) ui.QueueAnswer(a);
  for (const auto& input : s.inputs) ui.QueueInput(input);
  FixedSystem system;
  FillListings(system);
  Context ctx(host, ui, system);
  ctx.tools = AllTools();
  ctx.funcCode = s.code;
  Dispatch(ctx);
}

Outcome Direct(const Scenario& s) {
  Outcome o;
  MemoryHost host;
  Prepare(host, s, o.saved);
  o.before = Snapshot(host);
  ScriptedUi ui;
  Run(host, s, ui);
  o.workbook = Snapshot(host);
  o.dialogs = ui.DialogLines();
  return o;
}

Outcome ThroughExcel(const Scenario& s) {
  Outcome o;
  MemoryHost host;
  Prepare(host, s, o.saved);
  auto* app = new fake::FakeApplication(host, nullptr);
  {
    ExcelHost excel;
    excel.SetApplication(app);
    ScriptedUi ui;
    Run(excel, s, ui);
    excel.SetApplication(nullptr);
    o.dialogs = ui.DialogLines();
  }
  app->Release();
  o.workbook = Snapshot(host);
  return o;
}

// The first line where two snapshots part, for a readable failure.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) return "direct: " + a[i] + "\nadapter: " + b[i];
  }
  return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

const Answer kOk = Answer::Ok;
const Answer kCancel = Answer::Cancel;

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      // Block rows and the cursor's moves.
      {"insert rows", "+3", At(53, 2)},
      {"insert one row", "++", At(54, 3)},
      {"delete rows", "-2", At(58, 2)},
      {"delete rows refused", "-2", At(54, 2)},
      {"delete one row", "--", At(53, 4)},
      {"visible cell", "0312", At(120, 3)},
      {"visible cell in the tenth column", "/x05", At(60, 3)},
      {"visible cell to edit", "0207.", At(60, 3)},
      {"top left", "", At(90, 4)},
      {"slim sheet to end", "999", At(95, 2)},
      {"topic word", "105", At(1, 1)},
      {"topic word without block", "101", At(6, 1)},
      // Regions.
      {"swap cells", "*2",
       Selection{{Area::Of(53, 2, 53, 2), Area::Of(55, 4, 55, 4)}, Cell{55, 4}}},
      {"swap region rows", "*3",
       Selection{{Area::Of(53, 2, 53, 2), Area::Of(55, 2, 55, 2)}, Cell{55, 2}}},
      {"swap region columns", "*4",
       Selection{{Area::Of(52, 3, 52, 3), Area::Of(52, 5, 52, 5)}, Cell{52, 5}}},
      {"swap region rows refused", "*3", At(54, 3)},
      {"sort ascending", "*5", At(68, 5)},
      {"sort descending", "*6", At(84, 3)},
      {"save sizes", "*7", At(52, 2)},
      {"restore sizes", "*8", At(52, 2), 1, {}, {}, &SavedSizes},
      {"restore sizes, nothing to do", "*8", At(67, 2)},
      {"select region", "*9", At(69, 3)},
      {"move region to end", "*16", At(67, 2)},
      // Topics and sheets.
      {"set up sheet", "*1", At(1, 1), 1, {kOk}},
      {"set up sheet cancelled", "*1", At(1, 1), 1, {kCancel}},
      {"slim workbook", "*15", At(1, 1), 1, {kOk}},
      {"slim workbook cancelled", "*15", At(1, 1), 1, {kCancel}},
      {"topic blocks to a new sheet", "*17", At(51, 1)},
      {"topic word list", "*19", At(1, 1)},
      // Data tools.
      {"block to column", "*11", Block(Area::Of(53, 2, 56, 4))},
      {"column to block", "*12", Block(Area::Of(83, 2, 94, 2)), 1, {}, {"5"}},
      {"column to block cancelled", "*12", Block(Area::Of(83, 2, 94, 2)), 1, {}, {std::nullopt}},
      {"compare two columns", "*18", At(1, 14), 1, {kOk}},
      {"compare two columns cancelled", "*18", At(1, 14), 1, {kCancel}},
      {"id cards", "*21", Block(Area::Of(106, 2, 109, 2)), 1, {kOk}},
      {"id cards over a block", "*21", Block(Area::Of(106, 2, 108, 3)), 1, {kOk}},
      {"text to numbers", "*22", At(1, 1), 1, {}, {"1"}},
      {"numbers to text", "*22", At(1, 1), 1, {}, {"2"}},
      {"text and numbers cancelled", "*22", At(1, 1), 1, {}, {std::nullopt}},
      // The listings and the template, from a fixed system.
      {"desktop files", "*13", At(1, 1)},
      {"processes", "*14", At(1, 1)},
      {"drive folders", "*20", At(1, 1)},
      {"template", "*780", At(1, 1)},
      // On the empty second sheet, and a code nobody knows.
      {"insert on an empty sheet, nothing to do", "+2", At(3, 3), 2},
      {"sort on an empty sheet, nothing to do", "*5", At(3, 3), 2},
      {"unknown code, nothing to do", "*99", At(53, 2)},
  };
  return all;
}

class ToolParity : public ::testing::TestWithParam<size_t> {};

TEST_P(ToolParity, SameWorkbookAndDialogsThroughTheAdapter) {
  const Scenario& s = Scenarios()[GetParam()];
  SCOPED_TRACE(std::string(s.name) + " \"" + s.code + "\"");
  const Outcome direct = Direct(s);
  const Outcome adapter = ThroughExcel(s);
  EXPECT_EQ(adapter.dialogs, direct.dialogs);
  EXPECT_EQ(adapter.saved, direct.saved);
  EXPECT_TRUE(adapter.workbook == direct.workbook)
      << FirstDifference(direct.workbook, adapter.workbook);
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ToolParity, ::testing::Range(size_t{0}, Scenarios().size()),
                         [](const ::testing::TestParamInfo<size_t>& scenario) {
                           std::string name;
                           for (char c : std::string(Scenarios()[scenario.param].name)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// The comparison above only means something if the scenarios do something: each changes the
// workbook (a cancelled tool still notes its code) or saves one, except those that refuse with a
// message and those with nothing to do.
TEST(ToolParityScenarios, DoWhatTheyAreMeantTo) {
  for (const Scenario& s : Scenarios()) {
    const Outcome o = Direct(s);
    if (std::getenv("TEZLO_SHOW_DIALOGS")) {
      for (const std::string& dialog : o.dialogs) std::printf("%s: %s\n", s.name, dialog.c_str());
    }
    const std::string name = s.name;
    const bool refused = name.find("refused") != std::string::npos;
    if (refused || name.find("nothing to do") != std::string::npos) {
      EXPECT_TRUE(o.workbook == o.before) << name << "\n" << FirstDifference(o.before, o.workbook);
      EXPECT_EQ(o.dialogs.empty(), !refused) << name;
    } else {
      EXPECT_TRUE(o.workbook != o.before || !o.saved.empty()) << name;
    }
  }
}

}  // namespace
}  // namespace tezlo
