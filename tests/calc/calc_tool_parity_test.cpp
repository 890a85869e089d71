// Function codes run through the dispatcher on the sample workbook twice: on the memory engine
// and on a new Calc document, with the same scripted dialog answers; afterwards both workbooks
// must agree in their sheets, values, formulas, number formats, colours, comments, heights,
// widths and selection, and both must have shown the same dialogs.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "office_for_tests.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo {
namespace {

struct Scenario {
  const char* name;
  const char* code;
  Selection selection;
  std::vector<Answer> answers = {};
};

Selection At(int32_t row, int32_t col) {
  return Selection{{Area::Of(row, col, row, col)}, Cell{row, col}};
}
Selection Block(Area area) { return Selection{{area}, area.first}; }

std::string Describe(const Value& v) {
  char number[40];
  switch (v.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Number:
    case ValueKind::Date:  // Calc reads a number in a date format as a date
      std::snprintf(number, sizeof number, "N%.15g", v.AsNumber());
      return number;
    case ValueKind::Text: return "T" + v.AsText();
    case ValueKind::Boolean: return v.AsBoolean() ? "B1" : "B0";
    case ValueKind::Error: return "E" + std::to_string(static_cast<int>(v.AsError()));
  }
  return "?";
}

// A comment's text with its line breaks as Calc keeps them: Calc holds a note as paragraphs, so a
// CR LF pair reads back as one LF and line breaks at the end are dropped; the memory engine keeps
// the characters it was given (the recent-codes note ends in two CR LF pairs).
std::string NoteLines(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// One line per fact both must agree on, over the part of the first sheet the scenarios work on
// (the topic index and the first topic blocks): each cell read through the adapter is a round
// trip to the office.
std::vector<std::string> Snapshot(Host& h) {
  std::vector<std::string> lines;
  const int32_t book = h.ActiveWorkbook();
  lines.push_back("sheets " + std::to_string(h.SheetCount(book)));
  for (int32_t s = 1; s <= h.SheetCount(book); ++s)
    lines.push_back("name " + h.SheetName({book, s}));
  {
    const SheetRef ref{book, 1};
    const std::string at;
    const Area frame = Area::Of(1, 1, 100, 6);
    const Matrix values = h.GetValues(ref, frame);
    for (int32_t r = frame.first.row; r <= frame.last.row; ++r) {
      for (int32_t c = frame.first.col; c <= frame.last.col; ++c) {
        const Cell cell{r, c};
        std::string facts;
        const std::string value = Describe(values.At(r - frame.first.row, c - frame.first.col));
        const bool formula = h.HasFormula(ref, cell);
        if (formula) facts += " f=" + h.GetFormula(ref, cell);
        else if (!value.empty()) facts += " v=" + value;
        if (!value.empty() || formula) {
          const std::string format = h.NumberFormat(ref, cell);
          if (format != "General") facts += " nf=" + format;
        }
        if (c <= 2 || r <= 3) {  // marks and notes stand in the index and the blocks' first columns
          const int32_t color = h.ColorIndex(ref, cell);
          if (color != 0) facts += " ci=" + std::to_string(color);
          if (h.HasComment(ref, cell)) facts += " c=" + NoteLines(h.CommentText(ref, cell));
        }
        if (!facts.empty())
          lines.push_back(at + std::to_string(r) + "," + std::to_string(c) + facts);
      }
      lines.push_back(at + "row " + std::to_string(r) +
                      " h=" + std::to_string(h.RowHeight(ref, r)));
    }
    for (int32_t c = frame.first.col; c <= frame.last.col; ++c) {
      lines.push_back(at + "col " + std::to_string(c) +
                      " w=" + std::to_string(h.ColumnWidthPoints(ref, c)));
    }
  }
  const SheetRef active = h.ActiveSheet();
  const Selection selection = h.GetSelection();
  std::string areas;
  for (const Area& a : selection.areas) {
    areas += " " + std::to_string(a.first.row) + "," + std::to_string(a.first.col) + ":" +
             std::to_string(a.last.row) + "," + std::to_string(a.last.col);
  }
  lines.push_back("sheet " + std::to_string(active.sheet) + " selection" + areas + " active " +
                  std::to_string(selection.active.row) + "," +
                  std::to_string(selection.active.col));
  return lines;
}

std::vector<std::string> Shown(const ScriptedUi& ui) {
  std::vector<std::string> out;
  for (const ScriptedUi::Dialog& d : ui.Dialogs()) {
    if (const auto* box = std::get_if<MessageBoxRequest>(&d)) {
      out.push_back("box " + box->title + ": " + box->text);
    } else {
      const auto& input = std::get<InputBoxRequest>(d);
      out.push_back("input " + input.title + ": " + input.prompt + " [" + input.defaultValue + "]");
    }
  }
  return out;
}

// The sample workbook on `host`, with the same sizes everywhere (Calc's default column width and
// row height are its own), the scenario's selection made.
void Prepare(Host& host, const Scenario& s) {
  const SheetRef sheet{host.ActiveWorkbook(), 1};
  for (int32_t i = 1; i <= host.SheetCount(sheet.book); ++i) {
    const SheetRef each{sheet.book, i};
    host.SetColumnWidth(each, 1, host.ColumnsCount(), 8.43);
    host.SetRowHeight(each, 1, host.RowsCount(), 13.5);
  }
  BuildSampleWorkbook(host);
  host.ActivateSheet(sheet);
  host.Select(s.selection);
}

// Runs one code as the command box does; the one place that wires the tool set into a Context.
std::vector<std::string> RunCode(Host& host, const Scenario& s) {
  ScriptedUi ui;
  for (Answer a : s.answers) ui.QueueAnswer(a);
  FixedSystem system;
  system.SetToday({2024, 3, 15});
  Context ctx(host, ui, system);
  ctx.tools = AllTools();
  ctx.funcCode = s.code;
  Dispatch(ctx);
  return Shown(ui);
}

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"insert rows", "+3", At(53, 2)},
      {"delete rows", "-2", At(58, 2)},
      {"delete rows refused", "-2", At(54, 2)},
      {"swap cells", "*2",
       Selection{{Area::Of(53, 2, 53, 2), Area::Of(55, 4, 55, 4)}, Cell{55, 4}}},
      {"sort ascending", "*5", At(68, 5)},
      {"sort descending", "*6", At(84, 3)},
      {"select region", "*9", At(69, 3)},
      {"block to column", "*11", Block(Area::Of(53, 2, 56, 4))},
  };
  return all;
}

// Line breaks and control characters shown, so that texts differing only in them read apart.
std::string Visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\x" + std::to_string(static_cast<int>(c));
    } else {
      out += c;
    }
  }
  return out;
}

std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) return "memory: " + Visible(a[i]) + "\ncalc:   " + Visible(b[i]);
  }
  return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

class CalcToolParity : public ::testing::TestWithParam<size_t> {};

TEST_P(CalcToolParity, SameWorkbookAndDialogsInCalc) {
  const Scenario& s = Scenarios()[GetParam()];
  SCOPED_TRACE(std::string(s.name) + " \"" + s.code + "\"");
  MemorySettings settings;
  settings.sheetsInNewWorkbook = 2;  // the sample's two sheets, made by neither builder
  MemoryHost memory(settings);
  Prepare(memory, s);
  auto calc = NewCalcHost(2);
  Prepare(*calc, s);
  const std::vector<std::string> before = Snapshot(memory);
  ASSERT_TRUE(Snapshot(*calc) == before)
      << "prepared: " << FirstDifference(before, Snapshot(*calc));
  const std::vector<std::string> memoryDialogs = RunCode(memory, s);
  const std::vector<std::string> calcDialogs = RunCode(*calc, s);
  EXPECT_EQ(calcDialogs, memoryDialogs);
  const std::vector<std::string> after = Snapshot(memory);
  const std::vector<std::string> calcAfter = Snapshot(*calc);
  EXPECT_TRUE(calcAfter == after) << FirstDifference(after, calcAfter);
  // The comparison means something only when the code changed the workbook or refused aloud.
  EXPECT_TRUE(after != before || !memoryDialogs.empty());
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
