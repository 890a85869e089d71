// Charts plot the cells they plotted before the tools moved them: the formulas of a kept chart
// part follow their cells and their sheets' new names exactly as the same references in cell
// formulas do, and nothing else of the part changes.
#include "files/chart_refs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "files/workbook_file.h"
#include "files/xml_text.h"
#include "host/host_error.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

const GridSize kGrid;

// A chart part with one series per formula (its values' formula), each with a cached value and a
// title formula that names no cells; comments, a CDATA section and another element named f in an
// unrelated place are kept as written.
std::string ChartPart(const std::vector<std::string>& formulas) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/"
      "main\"><c:chart><c:plotArea><c:barChart>";
  for (size_t i = 0; i < formulas.size(); ++i) {
    out += "<c:ser><c:idx val=\"" + std::to_string(i) +
           "\"/><c:tx><c:strRef><c:f>Totals</c:f></c:strRef></c:tx>"
           "<!-- <c:f>Data!$A$1</c:f> --><c:val><c:numRef>\n  <c:f>";
    AppendXmlText(out, formulas[i]);
    out +=
        "</c:f><c:numCache><c:formatCode>General</c:formatCode><c:ptCount val=\"1\"/>"
        "<c:pt idx=\"0\"><c:v>10</c:v></c:pt></c:numCache></c:numRef></c:val></c:ser>";
  }
  return out +
         "<![CDATA[<c:f>Data!$B$2</c:f>]]></c:barChart></c:plotArea></c:chart></c:chartSpace>";
}

// The formula with the sheet prefix before each #REF! taken off.
std::string WithoutSheetOfRefErrors(const std::string& formula) {
  static const std::regex prefixed("('([^']|'')*'|[^(),'!]+)!#REF!");
  return std::regex_replace(formula, prefixed, "#REF!");
}

// The sheets of `book` as charts of the file it started as see them.
std::vector<SheetMoves> MovesOf(const Workbook& book, const std::vector<std::string>& readNames) {
  std::vector<SheetMoves> out;
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    const Sheet& s = book.GetSheet(i);
    out.push_back(
        SheetMoves{readNames[static_cast<size_t>(i - 1)], s.Name(), &s.ShiftsSinceRead()});
  }
  return out;
}

TEST(ChartRefs, FormulasMoveAsTheSameReferencesInCellsMoveUnderTheHostsOperations) {
  // Random references into four sheets (quoted names, an ampersand, unions, whole columns and
  // rows) are put in =SUM(...) on a fifth sheet, the engine moves them through random insertions,
  // deletions and renames (swaps among them), and a chart part holding the same references,
  // rewritten once from the sheets' journals, must say what the cells say.
  std::mt19937 rng(20261208);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::vector<std::string> start = {"Data", "My Sheet", "R&D's", "Other", "Calc"};
  const std::vector<std::string> spelled = {"Data!", "'My Sheet'!", "'R&D''s'!", "Other!"};
  auto col = [](int c) { return std::string(1, static_cast<char>('A' + c - 1)); };
  int refsGone = 0, renamed = 0, moved = 0, renamedErrors = 0;
  for (int round = 0; round < 60; ++round) {
    MemoryHost host;
    Workbook& book = host.GetWorkbook(1);
    while (book.SheetCount() < 5) host.AddSheetAfter(SheetRef{1, book.SheetCount()});
    for (int32_t i = 1; i <= 5; ++i)
      host.RenameSheet(SheetRef{1, i}, start[static_cast<size_t>(i - 1)]);
    auto ref = [&] {
      const std::string sheet = spelled[static_cast<size_t>(pick(0, 3))];
      const int c = pick(1, 10), r = pick(1, 20);
      switch (pick(0, 4)) {
        case 0: return sheet + "$" + col(c) + "$" + std::to_string(r);
        case 1:
          return sheet + col(c) + std::to_string(r) + ":" + col(c + pick(0, 3)) +
                 std::to_string(r + pick(0, 8));
        case 2: return sheet + "$" + col(c) + ":$" + col(c + pick(0, 2));
        case 3: return sheet + "$" + std::to_string(r) + ":$" + std::to_string(r + pick(0, 3));
        default:
          return sheet + "$" + col(c) + "$" + std::to_string(r) + ":$" + col(c) + "$" +
                 std::to_string(r + pick(0, 9));
      }
    };
    std::vector<std::string> formulas;
    for (int i = pick(1, 8); i > 0; --i) {
      formulas.push_back(pick(0, 3) == 0 ? "(" + ref() + "," + ref() + ")" : ref());
      host.SetFormula(SheetRef{1, 5}, Cell{static_cast<int32_t>(formulas.size()), 1},
                      "=SUM(" + formulas.back() + ")", Value{});
    }
    for (int i = pick(1, 4); i > 0; --i) {
      const SheetRef s{1, pick(1, 4)};
      const int32_t first = pick(1, 18), last = first + pick(0, 3);
      const int32_t b1 = pick(1, 8), b2 = b1 + pick(0, 12);
      try {
        switch (pick(0, 6)) {
          case 0: host.InsertShiftDown(s, Area::Of(first, b1, last, b2)); break;
          case 1: host.DeleteShiftUp(s, Area::Of(first, b1, last, b2)); break;
          case 2: host.InsertShiftDown(s, Area::Of(first, 1, last, kGrid.cols)); break;
          case 3: host.DeleteRows(s, first, last); break;
          case 4: host.DeleteColumns(s, pick(1, 6), pick(6, 8)); break;
          case 5: {  // two sheets swap names
            const int32_t t = s.sheet % 4 + 1;
            const std::string a = host.SheetName(s), b = host.SheetName(SheetRef{1, t});
            host.RenameSheet(s, "swap");
            host.RenameSheet(SheetRef{1, t}, a);
            host.RenameSheet(s, b);
            break;
          }
          default:
            host.RenameSheet(s, pick(0, 1) ? "Year 2026" : "A1" + std::to_string(round));
            break;
        }
      } catch (const HostError&) {
      }
    }
    const std::vector<SheetMoves> moves = MovesOf(book, start);
    std::vector<std::string> charted;
    for (size_t i = 0; i < formulas.size(); ++i) {
      const std::string cell =
          host.GetFormula(SheetRef{1, 5}, Cell{static_cast<int32_t>(i + 1), 1});
      ASSERT_EQ(cell.substr(0, 5), "=SUM(");
      const std::string expected = cell.substr(5, cell.size() - 6);
      const std::optional<std::string> chart = MoveChartFormula(formulas[i], moves, kGrid);
      charted.push_back(chart.value_or(formulas[i]));
      SCOPED_TRACE("round " + std::to_string(round) + ": " + formulas[i]);
      // A reference gone to #REF! keeps naming its sheet; the chart names it by its name now,
      // where a cell formula keeps the name the sheet had when the cells went.
      EXPECT_EQ(WithoutSheetOfRefErrors(charted.back()), WithoutSheetOfRefErrors(expected));
      EXPECT_EQ(chart.has_value(), charted.back() != formulas[i]);
      if (charted.back() != expected) {
        ++renamedErrors;
        bool namesSheetNow = false;
        for (const SheetMoves& m : moves) {
          namesSheetNow = namesSheetNow ||
                          charted.back().find(SheetPrefix(m.name) + "#REF!") != std::string::npos;
        }
        EXPECT_TRUE(namesSheetNow) << charted.back();
      }
      refsGone += expected.find("#REF!") != std::string::npos;
      moved += expected != formulas[i];
    }
    for (const SheetMoves& m : moves) renamed += m.name != m.readName;
    // The same formulas in a chart part: exactly the part written with the moved formulas.
    const std::string part = ChartPart(formulas);
    EXPECT_EQ(ShiftChartPart(part,
                             [&](std::string_view f) { return MoveChartFormula(f, moves, kGrid); }),
              ChartPart(charted));
    EXPECT_EQ(ChartPartFormulas(ChartPart(charted)).value_or(std::vector<std::string>{}).size(),
              2 * charted.size());
  }
  // The rounds reach every case.
  EXPECT_GT(refsGone, 5);
  EXPECT_GT(renamed, 30);
  EXPECT_GT(moved, 60);
  EXPECT_GT(renamedErrors, 0);
}

TEST(ChartRefs, AHandCheckedChart) {
  // Data: rows 1..3 inserted in A:M ("+3"); 'My Sheet': rows 2..11 deleted whole, then the sheet
  // renamed Summary.
  const std::vector<RefShift> data = {InsertDownShift("Data", kGrid, 1, 1, 3, 13)};
  const std::vector<RefShift> mine = {DeleteRowsShift("My Sheet", kGrid, 2, 11)};
  const std::vector<SheetMoves> moves = {{"Data", "Data", &data}, {"My Sheet", "Summary", &mine}};
  auto move = [&](std::string_view f) { return MoveChartFormula(f, moves, kGrid); };
  EXPECT_EQ(move("Data!$B$2:$B$11"), "Data!$B$5:$B$14");
  EXPECT_EQ(move("Data!$N$2:$N$11"), std::nullopt);           // beside the band
  EXPECT_EQ(move("Data!$M$1:$N$4"), std::nullopt);            // across its edge
  EXPECT_EQ(move("'My Sheet'!$A$2:$A$11"), "Summary!#REF!");  // every cell deleted
  EXPECT_EQ(move("'my sheet'!$A$1:$A$20"), "Summary!$A$1:$A$10");
  EXPECT_EQ(move("(Data!$B$2:$B$5,'My Sheet'!$D$12:$D$15)"), "(Data!$B$5:$B$8,Summary!$D$2:$D$5)");
  EXPECT_EQ(move("Data!$B:$B"), std::nullopt);  // whole columns: rows come and go inside
  // Not cells of this workbook's sheets: a name, another workbook, a sheet not read from the file.
  for (const char* same :
       {"Totals", "[1]Data!$B$2", "'[Book.xlsx]Data'!$B$2", "Extra!$B$2", "\"Data!$B$2\""}) {
    EXPECT_EQ(move(same), std::nullopt) << same;
  }
}

TEST(ChartRefs, PartsAndFormulasThatCannotBeReadAreLeftAsTheyWere) {
  const std::vector<RefShift> down = {InsertDownShift("Data", kGrid, 1, 1, 2, kGrid.cols)};
  const std::vector<SheetMoves> moves = {{"Data", "Data", &down}};
  const FormulaMove move = [&](std::string_view f) { return MoveChartFormula(f, moves, kGrid); };
  const std::string good = "<c:f>Data!$A$1</c:f>";
  const std::string moved = "<c:f>Data!$A$3</c:f>";
  ASSERT_EQ(ShiftChartPart("<c:chart>" + good + "</c:chart>", move),
            "<c:chart>" + moved + "</c:chart>");
  // Formulas this reader does not take: an entity XML does not define, markup inside, a CDATA
  // section. Each stays, the good one beside it moves. Escapes are read and written back.
  for (const std::string& odd : {
           std::string("<c:f>Data!$A$1&nbsp;</c:f>"),
           std::string("<c:f>Data!<b/>$A$1</c:f>"),
           std::string("<c:f><![CDATA[Data!$A$1]]></c:f>"),
           std::string("<c:f>Data!$A$1<!-- x --></c:f>"),
       }) {
    SCOPED_TRACE(odd);
    EXPECT_EQ(ShiftChartPart("<c:chart>" + odd + good + "</c:chart>", move),
              "<c:chart>" + odd + moved + "</c:chart>");
  }
  EXPECT_EQ(ShiftChartPart(
                "<f>&#68;ata!$A$1</f><cx:f dir=\"row\">(Data!$A$1,'R&amp;D'!$A$1)</cx:f>", move),
            "<f>Data!$A$3</f><cx:f dir=\"row\">(Data!$A$3,'R&amp;D'!$A$1)</cx:f>");
  // A part whose tags do not nest is left whole: every cut of a good part, and one closed by
  // the wrong end tag. Nothing crashes on any of them.
  const std::string part = ChartPart({"Data!$A$1", "(Data!$B$2,Data!$C$3)"});
  ASSERT_NE(ShiftChartPart(part, move), part);
  const size_t root = part.find('>', part.find("<c:chartSpace"));
  for (size_t n = root + 1; n < part.size(); ++n) {
    const std::string cut = part.substr(0, n);
    EXPECT_EQ(ShiftChartPart(cut, move), cut) << n;
    EXPECT_FALSE(ChartPartFormulas(cut).has_value()) << n;
  }
  const std::string wrongEnd = "<c:chart><c:ser>" + good + "</c:chart></c:ser>";
  EXPECT_EQ(ShiftChartPart(wrongEnd, move), wrongEnd);
  // A mover that changes nothing leaves the bytes as they were, odd spacing and all.
  EXPECT_EQ(ShiftChartPart(part, [](std::string_view) { return std::nullopt; }), part);
}

struct Step {
  const char* what;
  void (*run)(MemoryHost&, SheetRef, SheetRef);
};
// The operations of the saved-workbook tests, as chart_ref_books.py STEPS applies them in
// LibreOffice.
const Step kSteps[] = {
    {"3 rows of cells inserted in A:M of Data",
     [](MemoryHost& h, SheetRef d, SheetRef) { h.InsertShiftDown(d, Area::Of(1, 1, 3, 13)); }},
    {"whole rows 2..4 of My Sheet deleted",
     [](MemoryHost& h, SheetRef, SheetRef m) { h.DeleteRows(m, 2, 4); }},
    {"Data renamed 'Data 2024'",
     [](MemoryHost& h, SheetRef d, SheetRef) { h.RenameSheet(d, "Data 2024"); }},
    {"Data's C5:C14 deleted, cells below moving up",
     [](MemoryHost& h, SheetRef d, SheetRef) { h.DeleteShiftUp(d, Area::Of(5, 3, 14, 3)); }},
    {"My Sheet renamed Summary",
     [](MemoryHost& h, SheetRef, SheetRef m) { h.RenameSheet(m, "Summary"); }},
};

// The lines chart_ref_books.py prints: sheet, series, kind, formula, tab-separated.
std::vector<std::vector<std::string>> ReadWithOpenpyxl(const testing::ScratchDir& dir,
                                                       const std::string& book) {
  std::vector<std::vector<std::string>> out;
  const int status =
      testing::RunTestScript("chart_ref_books.py", "read '" + book + "'", dir.Path("log"));
  const std::string log = testing::ReadFileBytes(dir.Path("log"));
  EXPECT_EQ(status, 0) << log;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream cut(line);
    for (std::string field; std::getline(cut, field, '\t');) fields.push_back(field);
    EXPECT_EQ(fields.size(), 4u) << line;
    if (fields.size() == 4) out.push_back(std::move(fields));
  }
  return out;
}

TEST(ChartRefs, ChartsOfASavedWorkbookPlotTheCellsTheyPlottedBefore) {
  // Charts on a worksheet, on another worksheet and on a chart sheet, plotting cells of both
  // worksheets, through the host's operations; after each, the saved workbook read back by
  // openpyxl has every chart formula moved as MoveChartFormula moves it from the sheets'
  // journals, and at the end as worked out by hand.
  testing::ScratchDir dir;
  const std::string book = dir.Path("charts.xlsx");
  ASSERT_EQ(testing::RunTestScript("chart_ref_books.py", "make '" + book + "'", dir.Path("log")), 0)
      << testing::ReadFileBytes(dir.Path("log"));
  const auto original = ReadWithOpenpyxl(dir, book);
  ASSERT_EQ(original.size(), 10u);

  MemoryHost host;
  host.OpenWorkbook(LoadWorkbook(book));
  host.CloseWorkbook(1, false);
  const SheetRef data{1, 1}, mine{1, 2};
  const std::string saved = dir.Path("saved.xlsx");
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.what);
    step.run(host, data, mine);
    SaveWorkbook(host.GetWorkbook(1), saved);
    const auto after = ReadWithOpenpyxl(dir, saved);
    ASSERT_EQ(after.size(), original.size());
    const std::vector<SheetMoves> moves = MovesOf(host.GetWorkbook(1), {"Data", "My Sheet"});
    for (size_t i = 0; i < original.size(); ++i) {
      const std::string& f = original[i][3];
      EXPECT_EQ(after[i][3], MoveChartFormula(f, moves, kGrid).value_or(f)) << f;
      EXPECT_EQ(after[i][2], original[i][2]);
    }
  }
  const auto last = ReadWithOpenpyxl(dir, saved);
  std::vector<std::string> formulas;
  for (const auto& line : last) formulas.push_back(line[0] + " " + line[3]);
  EXPECT_EQ(formulas, (std::vector<std::string>{
                          "Data 2024 'Data 2024'!B4",
                          "Data 2024 'Data 2024'!$B$5:$B$14",
                          "Data 2024 'Data 2024'!$A$5:$A$14",
                          "Summary Summary!B1",
                          "Summary Summary!$B$2:$B$17",
                          "Summary 'Data 2024'!#REF!",
                          "Plot 'Data 2024'!$B$5:$B$14",
                          "Plot 'Data 2024'!$A$5:$A$14",
                          "Plot Summary!$C$2:$C$12",
                          "Plot 'Data 2024'!$A$5:$A$14",
                      }));
}

// A chart formula without the spelling LibreOffice chooses: no "$", a one-cell range as its cell.
std::string Plain(std::string f) {
  f = std::regex_replace(f, std::regex("\\$"), "");
  return std::regex_replace(f, std::regex("!([A-Z]+[0-9]+):\\1$"), "!$1");
}

TEST(ChartRefs, LibreOfficeMovesTheChartsAlike) {
  ASSERT_EQ(std::system(
                "command -v soffice >/dev/null && /usr/bin/python3 -c 'import uno' 2>/dev/null"),
            0)
      << "LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed";
  // The same operations on the same workbook in Tezlo and in a headless LibreOffice, both saved
  // and read back by openpyxl: every chart formula reads the same, save for the one range whose
  // cells were all deleted, which the spreadsheet (and Tezlo) turn into #REF! and LibreOffice
  // leaves naming the cells that moved up into its place.
  testing::ScratchDir dir;
  const std::string book = dir.Path("charts.xlsx");
  ASSERT_EQ(testing::RunTestScript("chart_ref_books.py", "make '" + book + "'", dir.Path("log")), 0)
      << testing::ReadFileBytes(dir.Path("log"));
  MemoryHost host;
  host.OpenWorkbook(LoadWorkbook(book));
  host.CloseWorkbook(1, false);
  for (const Step& step : kSteps) step.run(host, SheetRef{1, 1}, SheetRef{1, 2});
  const std::string ours = dir.Path("ours.xlsx"), theirs = dir.Path("theirs.xlsx");
  SaveWorkbook(host.GetWorkbook(1), ours);
  ASSERT_EQ(testing::RunTestScript("chart_ref_books.py",
                                   "libreoffice '" + book + "' '" + theirs + "'", dir.Path("log")),
            0)
      << testing::ReadFileBytes(dir.Path("log"));
  // By sheet, series and kind. LibreOffice gives a series titled by a literal text a title
  // formula of its own; only what both have is compared.
  auto keyed = [&](const std::string& path) {
    std::map<std::string, std::string> out;
    for (const auto& line : ReadWithOpenpyxl(dir, path))
      out[line[0] + " " + line[1] + " " + line[2]] = line[3];
    return out;
  };
  const auto mine = keyed(ours), lo = keyed(theirs);
  int compared = 0, deleted = 0;
  for (const auto& [key, f] : mine) {
    const auto it = lo.find(key);
    if (it == lo.end()) continue;
    ++compared;
    SCOPED_TRACE(key);
    if (f.find("#REF!") != std::string::npos) {
      ++deleted;
      EXPECT_EQ(f, "'Data 2024'!#REF!");
      EXPECT_EQ(it->second, "'Data 2024'!$C$5:$C$14");
    } else {
      EXPECT_EQ(Plain(f), Plain(it->second));
    }
  }
  EXPECT_EQ(compared, 10);
  EXPECT_EQ(deleted, 1);
}

}  // namespace
}  // namespace tezlo
