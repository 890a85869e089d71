// Shared formulas: each cell of a group reads as the group's first formula copied to it, as
// LibreOffice reads the same file; a cell whose group cannot be followed keeps its value and is
// listed; a save writes every formula on its own, which openpyxl reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "host/a1_address.h"
#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ReadFileBytes;
using testing::RunTestScript;
using testing::ScratchDir;
using testing::WriteFileBytes;

constexpr const char* kMissingMaster = "shared formulas without their first cell (kept as values)";

// A package LibreOffice opens too: content types, and a second sheet "Other Sheet" that the
// first one's formulas may refer to.
std::map<std::string, std::string> TwoSheetParts(const std::string& sheetData) {
  auto parts = MinimalParts(sheetData);
  parts["[Content_Types].xml"] = testing::ContentTypesXml(2);
  std::string& book = parts["xl/workbook.xml"];
  book.insert(book.find("</sheets>"), "<sheet name=\"Other Sheet\" sheetId=\"2\" r:id=\"rId2\"/>");
  std::string& rels = parts["xl/_rels/workbook.xml.rels"];
  rels.insert(
      rels.find("</Relationships>"),
      "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/worksheet\" Target=\"worksheets/sheet2.xml\"/>");
  parts["xl/worksheets/sheet2.xml"] =
      "<worksheet "
      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData/></"
      "worksheet>";
  return parts;
}

// The first sheet's formulas, "=" left out, by cell name.
std::map<std::string, std::string> Formulas(const Workbook& wb) {
  std::map<std::string, std::string> out;
  wb.GetSheet(1).ForEachCellByRow([&out](Cell c, const CellRecord& r) {
    if (r.HasFormula()) out[CellRefText(c)] = r.extras->formula.substr(1);
  });
  return out;
}

// What print_formulas.py wrote: cell -> (formula, value).
std::map<std::string, std::pair<std::string, std::string>> ReadPrinted(const std::string& path) {
  std::map<std::string, std::pair<std::string, std::string>> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string cell, formula, value;
    std::getline(fields, cell, '\t');
    std::getline(fields, formula, '\t');
    std::getline(fields, value, '\t');
    out[cell] = {formula, value};
  }
  return out;
}

// LibreOffice spells an area over every row of its columns as whole columns ("B1:C1048576" is
// "B:C"), and one over every column as whole rows; Tezlo's text is compared in that spelling.
std::string AsLibreOfficeSpellsAreas(const std::string& formula) {
  static const std::regex columns(R"((^|[^A-Z$])(\$?[A-Z]+)\$?1:(\$?[A-Z]+)\$?1048576)");
  static const std::regex rows(R"((^|[^A-Z$])\$?A(\$?[0-9]+):\$?XFD(\$?[0-9]+))");
  return std::regex_replace(std::regex_replace(formula, columns, "$1$2:$3"), rows, "$1$2:$3");
}

std::string Log(const std::string& path) { return ReadFileBytes(path); }

bool Lists(const Workbook& wb, const std::string& what) {
  const auto& all = wb.UnmodelledContent();
  return std::find(all.begin(), all.end(), what) != all.end();
}

// One random reference end: rows and columns near the grid's edges often, so that copies move
// references off it.
std::string RandomRefEnd(std::mt19937& rng, int32_t minRow, int32_t minCol) {
  auto pick = [&rng](int32_t low, int32_t high) {
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
      case 0: return std::min(high, low + std::uniform_int_distribution<int32_t>(0, 3)(rng));
      case 1: return std::max(low, high - std::uniform_int_distribution<int32_t>(0, 3)(rng));
      default: return std::uniform_int_distribution<int32_t>(low, high)(rng);
    }
  };
  const int32_t row = pick(minRow, 1048576);
  const int32_t col = pick(minCol, 16384);
  std::string out;
  if (rng() % 2 != 0) out += '$';
  AppendColumnName(out, col);
  if (rng() % 2 != 0) out += '$';
  return out + std::to_string(row);
}

std::string RandomFormula(std::mt19937& rng) {
  std::string f;
  const int refs = 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < refs; ++i) {
    if (i > 0) f += (rng() % 2 != 0) ? "+" : "*";
    std::string ref;
    if (rng() % 4 == 0) ref = "'Other Sheet'!";
    const std::string first = RandomRefEnd(rng, 1, 1);
    ref += first;
    if (rng() % 3 == 0) {
      // An area whose second end lies below and right of the first.
      const auto c = ParseCellRef(first);
      ref += ":" + RandomRefEnd(rng, c->row, c->col);
      f += "SUM(" + ref + ")";
    } else {
      f += ref;
    }
  }
  return f;
}

TEST(SharedFormulas, EveryCellReadsAsLibreOfficeReadsIt) {
  ASSERT_EQ(std::system(
                "command -v soffice >/dev/null && /usr/bin/python3 -c 'import uno' 2>/dev/null"),
            0)
      << "LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed";
  unsigned seed = 20240611;
  if (const char* s = std::getenv("TEZLO_SHARED_SEED"))
    seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
  std::mt19937 rng(seed);
  // Groups in rows, columns and blocks; a few fixed ones with mixed "$", another sheet's cells,
  // text holding what looks like a reference, and groups at the grid's far corner.
  struct Group {
    Area range;
    std::string formula;
  };
  std::vector<Group> groups = {
      {Area::Of(2, 2, 6, 2), "A1*2+$A$1+A$1+$A1"},
      {Area::Of(2, 4, 2, 9), "'Other Sheet'!A1&\"B1\"&LOG10(C1)"},
      {Area::Of(1048574, 16382, 1048576, 16384), "XFD1048576+A1+$XFD$1048576-XFC1048575"},
      {Area::Of(8, 1, 10, 3), "SUM(A1:B2)+SUM($A$1:A2)+COUNT(A:A)+SUM(1:1)"},
  };
  for (int g = 0; g < 40; ++g) {
    const int32_t row = 20 + g * 6;
    const int32_t col = 1 + static_cast<int32_t>(rng() % 30);
    const int32_t rows = 1 + static_cast<int32_t>(rng() % 4);
    const int32_t cols = 1 + static_cast<int32_t>(rng() % 4);
    groups.push_back({Area::Of(row, col, row + rows - 1, col + cols - 1), RandomFormula(rng)});
  }
  std::map<int32_t, std::map<int32_t, std::string>> cells;  // row -> column -> <c> element
  for (size_t g = 0; g < groups.size(); ++g) {
    const Area& a = groups[g].range;
    for (int32_t r = a.first.row; r <= a.last.row; ++r) {
      for (int32_t c = a.first.col; c <= a.last.col; ++c) {
        std::string xml =
            "<c r=\"" + CellRefText({r, c}) + "\"><f t=\"shared\" si=\"" + std::to_string(g) + "\"";
        if (Cell{r, c} == a.first) {
          std::string text;
          for (char ch : groups[g].formula)
            text += ch == '&'   ? std::string("&amp;")
                    : ch == '"' ? std::string("&quot;")
                                : std::string(1, ch);
          xml += " ref=\"" + AreaRefText(a) + "\">" + text + "</f>";
        } else {
          xml += "/>";
        }
        cells[r][c] = xml + "<v>0</v></c>";
      }
    }
  }
  std::string data;
  for (const auto& [r, row] : cells) {
    data += "<row r=\"" + std::to_string(r) + "\">";
    for (const auto& [c, xml] : row) data += xml;
    data += "</row>";
  }
  ScratchDir dir;
  const std::string path = dir.Path("shared.xlsx");
  WriteFileBytes(path, MakeZip(TwoSheetParts(data)));
  const auto wb = LoadWorkbook(path);
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
  const auto ours = Formulas(*wb);

  ASSERT_EQ(RunTestScript("print_formulas.py",
                          "libreoffice '" + path + "' '" + dir.Path("lo.txt") + "'",
                          dir.Path("lo.log")),
            0)
      << Log(dir.Path("lo.log"));
  const auto theirs = ReadPrinted(dir.Path("lo.txt"));
  size_t cellCount = 0;
  for (const auto& [r, row] : cells) cellCount += row.size();
  EXPECT_EQ(theirs.size(), cellCount);
  EXPECT_EQ(ours.size(), cellCount);
  int shown = 0;
  for (const auto& [cell, printed] : theirs) {
    const auto it = ours.find(cell);
    const std::string mine = it == ours.end() ? "(none)" : AsLibreOfficeSpellsAreas(it->second);
    if (mine != printed.first && shown++ < 20) {
      ADD_FAILURE() << cell << ": Tezlo " << mine << ", LibreOffice " << printed.first << " (seed "
                    << seed << ")";
    }
  }
}

// Cells whose group cannot be followed keep their values and are listed; the others of the same
// sheet are read.
TEST(SharedFormulas, FollowersWithoutAUsableFirstCellKeepTheirValuesAndAreListed) {
  struct Case {
    const char* what;
    std::string data;
    Cell bad;  // the follower kept as its value, 5
  };
  const std::string master =
      "<row r=\"1\"><c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" si=\"7\">A1*2</f><v>2</v></c></row>";
  const std::vector<Case> cases = {
      {"no first cell",
       "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"3\"/><v>5</v></c></row>",
       {2, 2}},
      {"first cell in a later row",
       "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"3\"/><v>5</v></c></row>"
       "<row r=\"1\"><c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" si=\"3\">A1</f><v>1</v></c></row>",
       {2, 2}},
      {"first cell later in the same row",
       "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"3\"/><v>5</v></c>"
       "<c r=\"C2\"><f t=\"shared\" ref=\"A2:C2\" si=\"3\">A1</f><v>1</v></c></row>",
       {2, 1}},
      {"outside the range",
       "<row r=\"4\"><c r=\"B4\"><f t=\"shared\" si=\"7\"/><v>5</v></c></row>",
       {4, 2}},
      {"beside the range",
       "<row r=\"2\"><c r=\"C2\"><f t=\"shared\" si=\"7\"/><v>5</v></c></row>",
       {2, 3}},
      {"a group that is not a number",
       "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"x\"/><v>5</v></c></row>",
       {2, 2}},
      {"a negative group",
       "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"-1\"/><v>5</v></c></row>",
       {2, 2}},
      {"a group past 32 bits",
       "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"4294967303\"/><v>5</v></c></row>",
       {2, 2}},
      {"no group", "<row r=\"2\"><c r=\"B2\"><f t=\"shared\"/><v>5</v></c></row>", {2, 2}},
      {"a first cell with a malformed range",
       "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" ref=\"A2:ZZZZ9\" si=\"3\">A1</f><v>1</v></c>"
       "<c r=\"B2\"><f t=\"shared\" si=\"3\"/><v>5</v></c></row>",
       {2, 2}},
      {"a first cell outside its range",
       "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" ref=\"B2:B9\" si=\"3\">A1</f><v>1</v></c>"
       "<c r=\"B2\"><f t=\"shared\" si=\"3\"/><v>5</v></c></row>",
       {2, 2}},
      {"a group whose later first cell has a bad range",
       "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" ref=\"A2:A5\" si=\"3\">A1</f><v>1</v></c>"
       "<c r=\"C2\"><f t=\"shared\" ref=\"nowhere\" si=\"3\">C1</f><v>1</v></c></row>"
       "<row r=\"4\"><c r=\"A4\"><f t=\"shared\" si=\"3\"/><v>5</v></c></row>",
       {4, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The good group's follower comes after the bad cell's rows (rows need not be in order).
    const std::string tail =
        "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"7\"/><v>6</v></c></row>";
    const auto wb =
        LoadWorkbookFromBytes(MakeZip(MinimalParts(master + c.data + tail)), "bad.xlsx");
    EXPECT_TRUE(Lists(*wb, kMissingMaster));
    const Sheet& sheet = wb->GetSheet(1);
    const CellRecord* bad = sheet.Find(c.bad);
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->value, Value::Number(5));
    EXPECT_FALSE(bad->HasFormula()) << bad->extras->formula;
    const CellRecord* good = sheet.Find({3, 2});
    ASSERT_TRUE(good != nullptr && good->HasFormula());
    EXPECT_EQ(good->extras->formula, "=A3*2");
    EXPECT_EQ(good->value, Value::Number(6));
  }
  // A file whose groups all have their first cells lists nothing.
  const auto fine = LoadWorkbookFromBytes(
      MakeZip(MinimalParts(
          master + "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"7\"/><v>6</v></c></row>")),
      "ok.xlsx");
  EXPECT_TRUE(fine->UnmodelledContent().empty());
}

// A first cell within its range but not at its top left: the cells after it take its formula
// moved back as well as forward; one before it in the file cannot.
TEST(SharedFormulas, AFirstCellInsideItsRangeMovesBothWays) {
  const std::string data =
      "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"0\"/><v>1</v></c>"
      "<c r=\"B2\"><f t=\"shared\" ref=\"A1:C3\" si=\"0\">B1+$B2</f><v>1</v></c></row>"
      "<row r=\"3\"><c r=\"A3\"><f t=\"shared\" si=\"0\"/><v>1</v></c><c r=\"C3\"><f t=\"shared\" "
      "si=\"0\"/><v>1</v></c></row>";
  const auto wb = LoadWorkbookFromBytes(MakeZip(MinimalParts(data)), "in.xlsx");
  const auto f = Formulas(*wb);
  EXPECT_EQ(f, (std::map<std::string, std::string>{{"B2", "B1+$B2"},
                                                   {"A3", "A2+$B3"},
                                                   {"C3", "C2+$B3"}}));
  EXPECT_TRUE(Lists(*wb, kMissingMaster));  // A2 comes before its first cell
}

TEST(SharedFormulas, ManyFollowersOfALongFormulaAreChargedToTheMemoryBound) {
  // 2000 followers of a 2000-character formula: 4 MB of formulas from a file of a few kilobytes.
  std::string formula;
  while (formula.size() < 2000) formula += "A1+";
  formula += "1";
  std::string data = "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A2000\" si=\"0\">" +
                     formula + "</f><v>1</v></c></row>";
  for (int r = 2; r <= 2000; ++r)
    data += "<row r=\"" + std::to_string(r) + "\"><c><f t=\"shared\" si=\"0\"/><v>1</v></c></row>";
  const std::string bytes = MakeZip(MinimalParts(data));
  LoadOptions tight;
  tight.maxMemoryBytes = 1 << 20;
  try {
    LoadWorkbookFromBytes(bytes, "long.xlsx", tight);
    FAIL() << "read";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("long.xlsx"), std::string::npos) << what;
    EXPECT_NE(what.find("1 MB"), std::string::npos) << what;
  }
  LoadOptions roomy;
  roomy.maxMemoryBytes = 32 << 20;
  const auto wb = LoadWorkbookFromBytes(bytes, "long.xlsx", roomy);
  const CellRecord* last = wb->GetSheet(1).Find({2000, 1});
  ASSERT_TRUE(last != nullptr && last->HasFormula());
  EXPECT_EQ(last->extras->formula.substr(0, 12), "=A2000+A2000");
}

TEST(SharedFormulas, ManyGroupsAreChargedToTheMemoryBound) {
  // Every cell a group of its own, group numbers spread over their whole range.
  std::string data;
  for (int r = 1; r <= 50000; ++r) {
    data += "<row r=\"" + std::to_string(r) + "\"><c><f t=\"shared\" ref=\"A" + std::to_string(r) +
            "\" si=\"" + std::to_string(static_cast<uint32_t>(r) * 85931u) +
            "\">B1</f><v>1</v></c></row>";
  }
  const std::string bytes = MakeZip(MinimalParts(data));
  LoadOptions tight;
  tight.maxMemoryBytes = 4 << 20;
  EXPECT_THROW(LoadWorkbookFromBytes(bytes, "groups.xlsx", tight), FileError);
  const auto wb = LoadWorkbookFromBytes(bytes, "groups.xlsx");
  EXPECT_EQ(wb->GetSheet(1).Find({50000, 1})->extras->formula, "=B1");
  EXPECT_TRUE(wb->UnmodelledContent().empty());
}

// Saved in place, every follower holds its own formula and keeps its value; openpyxl reads them.
TEST(SharedFormulas, ASaveInPlaceWritesEveryFormulaOnItsOwn) {
  const std::string data =
      "<row r=\"1\"><c r=\"A1\"><v>3</v></c><c r=\"B1\"><f t=\"shared\" ref=\"B1:C3\" "
      "si=\"0\">$A1*2+A$1</f><v>9</v></c>"
      "<c r=\"C1\" t=\"str\"><f t=\"shared\" si=\"0\"/><v>x</v></c></row>"
      "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"0\"/><v>4.5</v></c><c r=\"C2\" t=\"b\"><f "
      "t=\"shared\" si=\"0\"/><v>1</v></c></row>"
      "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"0\"/><v>-2</v></c><c r=\"C3\" t=\"e\"><f "
      "t=\"shared\" si=\"0\"/><v>#DIV/0!</v></c></row>";
  ScratchDir dir;
  const std::string path = dir.Path("book.xlsx");
  WriteFileBytes(path, MakeZip(TwoSheetParts(data)));
  const auto wb = LoadWorkbook(path);
  SaveWorkbook(*wb, path);
  const auto saved = testing::ReadZip(ReadFileBytes(path));
  EXPECT_EQ(saved.at("xl/worksheets/sheet1.xml").find("shared"), std::string::npos);
  ASSERT_EQ(RunTestScript("print_formulas.py",
                          "openpyxl '" + path + "' '" + dir.Path("o.txt") + "'", dir.Path("o.log")),
            0)
      << Log(dir.Path("o.log"));
  const auto read = ReadPrinted(dir.Path("o.txt"));
  const std::map<std::string, std::pair<std::string, std::string>> expected = {
      {"A1", {"", "3"}},
      {"B1", {"$A1*2+A$1", "9"}},
      {"C1", {"$A1*2+B$1", "x"}},
      {"B2", {"$A2*2+A$1", "4.5"}},
      {"C2", {"$A2*2+B$1", "True"}},
      {"B3", {"$A3*2+A$1", "-2"}},
      {"C3", {"$A3*2+B$1", "#DIV/0!"}},
  };
  EXPECT_EQ(read, expected);
}

}  // namespace
}  // namespace tezlo
