// Array formulas in files: read with their blocks, written back in place as arrays (openpyxl reads
// them), and moved by cell shifts as LibreOffice moves them: the same operations done by Tezlo
// and by LibreOffice's API on the same file give the same arrays, and the same refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/a1_address.h"
#include "files/workbook_file.h"
#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ReadFileBytes;
using testing::RunTestScript;
using testing::ScratchDir;
using testing::WriteFileBytes;

// A package LibreOffice opens: MinimalParts with its content types.
std::map<std::string, std::string> Parts(const std::string& sheetData) {
  auto parts = MinimalParts(sheetData);
  parts["[Content_Types].xml"] = testing::ContentTypesXml(1);
  return parts;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

// The arrays Tezlo holds on the first sheet: "A1:B2<TAB>formula", sorted, as print_arrays.py
// prints them.
std::vector<std::string> OurArrays(const Workbook& wb) {
  const Sheet& sheet = wb.GetSheet(1);
  std::vector<std::string> out;
  for (const Area& a : AllArrays(sheet)) {
    out.push_back(AreaRefText(a) + "\t" + sheet.Find(a.first)->extras->formula.substr(1));
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool Lists(const Workbook& wb, const std::string& what) {
  const auto& all = wb.UnmodelledContent();
  return std::find(all.begin(), all.end(), what) != all.end();
}

// A row of cells: (column, inside of the <c> element after its reference).
std::string Row(int32_t r, const std::vector<std::pair<int32_t, std::string>>& cells) {
  std::string xml = "<row r=\"" + std::to_string(r) + "\">";
  for (const auto& [c, inside] : cells)
    xml += "<c r=\"" + CellRefText({r, c}) + "\"" + inside + "</c>";
  return xml + "</row>";
}

TEST(ArrayFormulaFiles, ASaveInPlaceKeepsEveryArray) {
  // A column, a block, a dynamic array of one cell (cell metadata), an array whose anchor holds
  // a text, and a formula with escaped characters.
  const std::string data =
      Row(1, {{1, "><v>1</v>"},
              {2, "><v>2</v>"},
              {3, "><f t=\"array\" ref=\"C1:C3\">A1:A3*B1:B3</f><v>2</v>"},
              {5, " cm=\"1\"><f t=\"array\" ref=\"E1\">SUM(A1:A3)</f><v>6</v>"}}) +
      Row(2, {{1, "><v>2</v>"},
              {2, "><v>3</v>"},
              {3, "><v>6</v>"},
              {4,
               " t=\"str\"><f t=\"array\" "
               "ref=\"D2:E3\">IF(A2:B3&gt;2,\"&lt;big&gt;\",\"&amp;\")</f><v>&amp;</v>"},
              {5, " t=\"str\"><v>&amp;</v>"}}) +
      Row(3, {{1, "><v>3</v>"},
              {2, "><v>4</v>"},
              {3, "><v>12</v>"},
              {4, " t=\"str\"><v>&lt;big&gt;</v>"},
              {5, " t=\"str\"><v>&lt;big&gt;</v>"}}) +
      Row(5, {{1, "><f>SUM(C1:C3)</f><v>20</v>"}});
  ScratchDir dir;
  const std::string path = dir.Path("arrays.xlsx");
  WriteFileBytes(path, MakeZip(Parts(data)));
  auto wb = LoadWorkbook(path);
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
  const std::vector<std::string> expected = {
      "C1:C3\tA1:A3*B1:B3",
      "D2:E3\tIF(A2:B3>2,\"<big>\",\"&\")",
      "E1\tSUM(A1:A3)",
  };
  EXPECT_EQ(OurArrays(*wb), expected);
  const Sheet& sheet = wb->GetSheet(1);
  EXPECT_EQ(sheet.Find({3, 5})->value, Value::Text("<big>"));  // a block's cell keeps its value
  EXPECT_FALSE(sheet.Find({3, 5})->HasFormula());
  EXPECT_FALSE(sheet.Find({5, 1})->ArrayArea({5, 1}));

  SaveWorkbook(*wb, path);  // in place: nothing refuses it
  const std::string xml = testing::ReadZip(ReadFileBytes(path)).at("xl/worksheets/sheet1.xml");
  EXPECT_NE(xml.find("<c r=\"E1\" cm=\"1\"><f t=\"array\" ref=\"E1\">SUM(A1:A3)</f>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<f>SUM(C1:C3)</f>"), std::string::npos) << xml;
  ASSERT_EQ(RunTestScript("print_arrays.py", "openpyxl '" + path + "' '" + dir.Path("o.txt") + "'",
                          dir.Path("o.log")),
            0)
      << ReadFileBytes(dir.Path("o.log"));
  EXPECT_EQ(Lines(dir.Path("o.txt")), expected);
  // Read again, the same arrays.
  EXPECT_EQ(OurArrays(*LoadWorkbook(path)), expected);

  // A value written over the dynamic array E1 replaces it, and its cell metadata goes with it;
  // the other arrays stay, and a value cannot be written into part of one.
  MemoryHost h;
  h.OpenWorkbook(LoadWorkbook(path));
  h.CloseWorkbook(1, false);
  h.SetValue({1, 1}, {1, 5}, Value::Number(7));
  EXPECT_THROW(h.SetValue({1, 1}, {3, 3}, Value::Number(7)), HostError);
  SaveWorkbook(h.GetWorkbook(1), dir.Path("written.xlsx"));
  const std::string written =
      testing::ReadZip(ReadFileBytes(dir.Path("written.xlsx"))).at("xl/worksheets/sheet1.xml");
  EXPECT_NE(written.find("<c r=\"E1\"><v>7</v></c>"), std::string::npos) << written;
  ASSERT_EQ(RunTestScript("print_arrays.py",
                          "openpyxl '" + dir.Path("written.xlsx") + "' '" + dir.Path("w.txt") + "'",
                          dir.Path("w.log")),
            0)
      << ReadFileBytes(dir.Path("w.log"));
  EXPECT_EQ(Lines(dir.Path("w.txt")),
            std::vector<std::string>(expected.begin(), expected.begin() + 2));
}

// Arrays the file gets wrong keep their anchors' formulas as plain ones and are listed, so the
// workbook is not saved in place; the good ones beside them stay arrays.
TEST(ArrayFormulaFiles, MalformedArraysAreKeptAsPlainFormulasAndListed) {
  const std::string good = Row(20, {{1, "><f t=\"array\" ref=\"A20:B20\">1</f><v>1</v>"}});
  struct Case {
    const char* what;
    std::string data;
    const char* listed;
    Cell plain;  // the anchor whose formula is kept as a plain one
  };
  const char* badRange =
      "array formulas whose range does not start at their cell (kept as plain formulas)";
  const char* overlap = "array formulas overlapping other formulas (kept as plain formulas)";
  const std::vector<Case> cases = {
      {"no range", Row(1, {{1, "><f t=\"array\">1</f><v>1</v>"}}), badRange, {1, 1}},
      {"a range that is not one",
       Row(1, {{1, "><f t=\"array\" ref=\"A1:\">1</f><v>1</v>"}}),
       badRange,
       {1, 1}},
      {"a range starting elsewhere",
       Row(1, {{2, "><f t=\"array\" ref=\"A1:B2\">1</f><v>1</v>"}}),
       badRange,
       {1, 2}},
      {"a range past the grid",
       Row(1, {{1, "><f t=\"array\" ref=\"A1:A1048577\">1</f><v>1</v>"}}),
       badRange,
       {1, 1}},
      {"a formula inside",
       Row(1, {{1, "><f t=\"array\" ref=\"A1:B2\">1</f><v>1</v>"}}) +
           Row(2, {{2, "><f>3</f><v>3</v>"}}),
       overlap,
       {1, 1}},
      {"crossing arrays",
       Row(1, {{2, "><f t=\"array\" ref=\"B1:B3\">1</f><v>1</v>"}}) +
           Row(2, {{1, "><f t=\"array\" ref=\"A2:C2\">1</f><v>1</v>"}}),
       overlap,
       {2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto wb = LoadWorkbookFromBytes(MakeZip(Parts(c.data + good)), "bad.xlsx");
    EXPECT_TRUE(Lists(*wb, c.listed));
    EXPECT_EQ(wb->UnmodelledContent().size(), 1u);
    const Sheet& sheet = wb->GetSheet(1);
    const std::vector<Area> arrays = AllArrays(sheet);
    EXPECT_TRUE(BrokenArrays(sheet).empty());
    EXPECT_NE(std::find(arrays.begin(), arrays.end(), Area::Of(20, 1, 20, 2)), arrays.end());
    const CellRecord* plain = sheet.Find(c.plain);
    ASSERT_TRUE(plain != nullptr && plain->HasFormula());
    EXPECT_EQ(plain->extras->formula, "=1");
    EXPECT_FALSE(plain->ArrayArea(c.plain));
  }
}

// One operation as print_arrays.py spells it, done by Tezlo's host.
void RunOperation(MemoryHost& h, const std::string& op) {
  std::istringstream in(op);
  std::string word;
  int32_t a = 0, b = 0, c = 0, d = 0;
  in >> word >> a >> b >> c >> d;
  const SheetRef s{1, 1};
  if (word == "down") h.InsertShiftDown(s, Area::Of(a, b, c, d));
  if (word == "up") h.DeleteShiftUp(s, Area::Of(a, b, c, d));
  if (word == "rows") h.DeleteRows(s, a, b);
  if (word == "cols") h.DeleteColumns(s, a, b);
}

std::string RandomOp(std::mt19937& rng) {
  auto pick = [&rng](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(rng);
  };
  const int kind = pick(0, 5);
  const int32_t r1 = pick(1, 14);
  const int32_t r2 = r1 + pick(0, 3);
  if (kind == 4) return "rows " + std::to_string(r1) + " " + std::to_string(r2);
  const int32_t c1 = pick(1, 8);
  const int32_t c2 = std::min(8, c1 + pick(0, 3));
  if (kind == 5) return "cols " + std::to_string(c1) + " " + std::to_string(c2);
  // Inserted cells across all the columns used now and then: rows inserted through arrays.
  const bool wide = pick(0, 3) == 0;
  return std::string(kind < 2 ? "down " : "up ") + std::to_string(r1) + " " +
         std::to_string(wide ? 1 : c1) + " " + std::to_string(r2) + " " +
         std::to_string(wide ? 8 : c2);
}

TEST(ArrayFormulaFiles, ShiftsMoveAndRefuseAsLibreOfficeDoes) {
  ASSERT_EQ(std::system(
                "command -v soffice >/dev/null && /usr/bin/python3 -c 'import uno' 2>/dev/null"),
            0)
      << "LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed";
  unsigned seed = 20261208;
  if (const char* s = std::getenv("TEZLO_ARRAY_SEED"))
    seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
  std::mt19937 rng(seed);
  // Values in A1:AD60, beyond the cells the operations name (so that LibreOffice's sheet changes
  // with every shift it makes: it refuses one by doing nothing), with arrays among them whose
  // formulas refer to cells that move too.
  const std::vector<std::pair<Area, std::string>> arrays = {
      {Area::Of(2, 3, 4, 3), "A2:A4*B2:B4"},        {Area::Of(3, 5, 4, 6), "A3:B4*2"},
      {Area::Of(7, 1, 7, 3), "SUM(D1:D5)+E7:G7"},   {Area::Of(10, 2, 13, 2), "ROW(A10:A13)"},
      {Area::Of(10, 4, 10, 4), "SUM(H1:H25)"},      {Area::Of(15, 6, 16, 8), "A15:C16-1"},
      {Area::Of(20, 1, 22, 4), "TRANSPOSE(E1:G4)"},
  };
  std::string data;
  for (int32_t r = 1; r <= 60; ++r) {
    std::vector<std::pair<int32_t, std::string>> cells;
    for (int32_t c = 1; c <= 30; ++c) {
      std::string inside = "><v>" + std::to_string(r * 100 + c) + "</v>";
      for (const auto& [block, formula] : arrays) {
        if (block.first == Cell{r, c}) {
          inside = "><f t=\"array\" ref=\"" + AreaRefText(block) + "\">" + formula + "</f><v>0</v>";
        } else if (block.Contains({r, c})) {
          inside = "><v>0</v>";
        }
      }
      cells.emplace_back(c, inside);
    }
    data += Row(r, cells);
  }
  ScratchDir dir;
  const std::string original = dir.Path("arrays.xlsx");
  WriteFileBytes(original, MakeZip(Parts(data)));
  // Each job: a few operations on the original; LibreOffice does them on the original, and reads
  // the file Tezlo saved after doing them.
  std::string jobs;
  std::vector<std::vector<std::string>> ours;  // per job: Tezlo's refusals, then its arrays
  std::vector<std::vector<std::string>> jobOps;
  int refusals = 0;
  for (int job = 0; job < 24; ++job) {
    std::vector<std::string> ops;
    const int count = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < count; ++k) ops.push_back(RandomOp(rng));
    if (job == 0) ops = {"down 1 1 3 8"};  // "+3": rows inserted above every array
    if (job == 1) ops = {"rows 3 4", "rows 20 22"};
    MemoryHost h;
    h.OpenWorkbook(LoadWorkbook(original));
    h.CloseWorkbook(1, false);
    std::vector<std::string> lines = {"# " + original};
    for (const std::string& op : ops) {
      const std::vector<std::string> before = OurArrays(h.GetWorkbook(1));
      try {
        RunOperation(h, op);
      } catch (const HostError&) {
        lines.push_back("refused " + op);
        ++refusals;
        EXPECT_EQ(OurArrays(h.GetWorkbook(1)), before) << op;
      }
    }
    const std::string saved = dir.Path("saved" + std::to_string(job) + ".xlsx");
    SaveWorkbook(h.GetWorkbook(1), saved);
    const auto mine = OurArrays(h.GetWorkbook(1));
    lines.insert(lines.end(), mine.begin(), mine.end());
    ours.push_back(lines);
    std::string joined;
    for (const std::string& op : ops) joined += (joined.empty() ? "" : ";") + op;
    jobs += original + "\t" + joined + "\n" + saved + "\t\n";
    jobOps.push_back(ops);
  }
  EXPECT_GT(refusals, 5);
  int cutByLibreOffice = 0;
  WriteFileBytes(dir.Path("jobs.txt"), jobs);
  ASSERT_EQ(RunTestScript("print_arrays.py",
                          "libreoffice '" + dir.Path("jobs.txt") + "' '" + dir.Path("lo.txt") + "'",
                          dir.Path("lo.log")),
            0)
      << ReadFileBytes(dir.Path("lo.log"));
  // Split LibreOffice's output by job: its own result, then its reading of Tezlo's file.
  std::vector<std::vector<std::string>> theirs;
  for (const std::string& line : Lines(dir.Path("lo.txt"))) {
    if (line.rfind("# ", 0) == 0) theirs.emplace_back();
    ASSERT_FALSE(theirs.empty());
    theirs.back().push_back(line);
  }
  ASSERT_EQ(theirs.size(), 2 * ours.size());
  for (size_t job = 0; job < ours.size(); ++job) {
    std::string what = "job " + std::to_string(job) + ":";
    for (const std::string& op : jobOps[job]) what += " " + op + ";";
    SCOPED_TRACE(what + " seed " + std::to_string(seed));
    // LibreOffice's operations: the same refusals and arrays (formulas in its own spelling, so
    // compared as it reads Tezlo's saved file, which holds no refusal lines).
    std::vector<std::string> done = theirs[2 * job];
    std::vector<std::string> read = theirs[2 * job + 1];
    read.erase(read.begin());
    done.erase(done.begin());
    std::vector<std::string> refusedThere;
    std::vector<std::string> refusedHere;
    while (!done.empty() && done.front().rfind("refused ", 0) == 0) {
      refusedThere.push_back(done.front());
      done.erase(done.begin());
    }
    for (const std::string& line : ours[job]) {
      if (line.rfind("refused ", 0) == 0) refusedHere.push_back(line);
    }
    // LibreOffice (7.x) lets cells deleted upward across an array's whole width take some of its
    // rows (leaving the rest an array whose formula reads #NAME?, or no array), though it
    // refuses whole rows deleted so; the spreadsheet refuses both, and so does Tezlo. A job whose
    // first difference is such a deletion is checked up to it only: the sheets differ after it.
    bool cut = false;
    for (const std::string& op : jobOps[job]) {
      const bool here =
          std::find(refusedHere.begin(), refusedHere.end(), "refused " + op) != refusedHere.end();
      const bool there = std::find(refusedThere.begin(), refusedThere.end(), "refused " + op) !=
                         refusedThere.end();
      if (here == there) continue;
      cut = here && op.rfind("up ", 0) == 0;
      break;
    }
    if (cut) {
      ++cutByLibreOffice;
      continue;
    }
    EXPECT_EQ(refusedHere, refusedThere);
    // The same ranges: LibreOffice's own result, its reading of Tezlo's file, and Tezlo's.
    std::map<std::string, std::string> here;
    for (const std::string& line : ours[job]) {
      if (line[0] != '#' && line.rfind("refused ", 0) != 0)
        here[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    }
    auto byRange = [](const std::vector<std::string>& lines) {
      std::map<std::string, std::string> out;
      for (const std::string& l : lines)
        out[l.substr(0, l.find('\t'))] = l.substr(l.find('\t') + 1);
      return out;
    };
    const auto doneThere = byRange(done);
    const auto readThere = byRange(read);
    auto ranges = [](const std::map<std::string, std::string>& m) {
      std::vector<std::string> out;
      for (const auto& [range, formula] : m) out.push_back(range);
      return out;
    };
    EXPECT_EQ(ranges(here), ranges(doneThere));
    EXPECT_EQ(ranges(readThere), ranges(doneThere));
    // The same formulas, but for references whose cells were all deleted: Tezlo writes #REF!
    // as the spreadsheet does, where LibreOffice moves some of them elsewhere, and it reads a
    // #REF! in a file's formula as nothing.
    for (const auto& [range, formula] : here) {
      if (formula.find("#REF!") != std::string::npos || readThere.count(range) == 0 ||
          doneThere.count(range) == 0)
        continue;
      EXPECT_EQ(readThere.at(range), doneThere.at(range)) << range;
    }
  }
  EXPECT_LT(cutByLibreOffice, 5);
}

}  // namespace
}  // namespace tezlo
