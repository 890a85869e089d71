// ShiftArea, ShiftCellArea and the defined names' ShiftFormulaRefs against a real LibreOffice:
// random areas under random cell shifts (down, up, right, left, whole rows and columns), done
// once through LibreOffice's API by libreoffice_shifts.py on a conditional format, a validation
// and a named range over the area and a comment on a cell (ShiftCell), then compared case by
// case; and ShiftAnchor against drawings anchored to cells, moved by libreoffice_anchors.py.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "memory/formula_refs.h"
#include "memory/reference_shift.h"

namespace tezlo {
namespace {

using CellSet = std::set<std::pair<int32_t, int32_t>>;

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::string piece;
  std::istringstream in(line);
  while (std::getline(in, piece, sep)) out.push_back(piece);
  return out;
}

// "Sheet1.A1:B2,Sheet1.C3" or "$Sheet1.$A$1:$B$2" or "Sheet1!$A$1": the areas named. LibreOffice
// sometimes lists a piece with its corners reversed (an insertion next to a range whose columns
// miss the band); such a piece holds no cell and is left out.
std::vector<Area> ParseAreas(const std::string& text) {
  std::vector<Area> out;
  for (std::string piece : Split(text, ',')) {
    const size_t dot = piece.find_first_of(".!");
    if (dot != std::string::npos) piece = piece.substr(dot + 1);
    for (const FormulaRef& r : FindFormulaRefs(piece)) {
      if (r.first.row > r.last.row || r.first.col > r.last.col) continue;
      out.push_back(Area::Of(r.first.row, r.first.col, r.last.row, r.last.col));
    }
  }
  return out;
}

CellSet Cells(const std::vector<Area>& areas) {
  CellSet out;
  for (const Area& a : areas) {
    for (int32_t r = a.first.row; r <= a.last.row; ++r) {
      for (int32_t c = a.first.col; c <= a.last.col; ++c) out.emplace(r, c);
    }
  }
  return out;
}

struct Case {
  RefShift shift;
  Area area;
  std::string formatAfter;  // "-" when the conditional format went
  std::string nameAfter;
  std::string validatedAfter;  // "-" when no cell keeps the validation
  Cell note;
  std::optional<Cell> noteAfter;
  std::string line;
};

// A script beside this file. __FILE__ may be relative to the build tree (ccache's base
// directory makes it so), which lies two levels above this test program.
std::string ScriptPath(const std::string& name) {
  const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path() / name;
  if (source.is_absolute()) return source.string();
  const std::filesystem::path build =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
  return (build / source).lexically_normal().string();
}

std::vector<Case> RunLibreOffice(const std::string& dir, unsigned seed, std::string& log) {
  const std::string script = ScriptPath("libreoffice_shifts.py");
  const std::string table = dir + "/cases.tsv";
  const std::string logPath = dir + "/log";
  // Debian's interpreter, where python3-uno is installed.
  const std::string command = "/usr/bin/python3 '" + script + "' '" + table + "' 400 " +
                              std::to_string(seed) + " > '" + logPath + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream logIn(logPath);
  log.assign(std::istreambuf_iterator<char>(logIn), {});
  std::vector<Case> cases;
  if (status != 0) return cases;
  std::ifstream in(table);
  const GridSize grid;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = Split(line, '\t');
    if (f.size() != 15) continue;
    auto n = [&](size_t i) { return std::stoi(f[i]); };
    const bool rows = f[0] == "R";
    const bool whole = n(4) == 0;
    RefShift s;
    s.axis = rows ? RefShift::Axis::Rows : RefShift::Axis::Cols;
    s.insert = f[1] == "I";
    s.first = n(2);
    s.count = n(3);
    s.bandFirst = whole ? 1 : n(4);
    s.bandLast = whole ? (rows ? grid.cols : grid.rows) : n(5);
    s.sheetName = "Sheet1";
    s.grid = grid;
    auto cell = [&](const std::string& text) {
      const std::vector<std::string> rc = Split(text, ' ');
      return Cell{std::stoi(rc.at(0)), std::stoi(rc.at(1))};
    };
    const std::optional<Cell> noteAfter =
        f[14] == "-" ? std::nullopt : std::optional<Cell>(cell(f[14]));
    cases.push_back(Case{s, Area::Of(n(6), n(7), n(8), n(9)), f[10], f[11], f[12], cell(f[13]),
                         noteAfter, line});
  }
  return cases;
}

TEST(ShiftAreaAgainstLibreOffice, RandomAreasUnderRandomShifts) {
  char pattern[] = "/tmp/tezlo-shift-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  // A fixed seed keeps the suite repeatable (this one once found a difference, now fixed);
  // TEZLO_SHIFT_SEED=random, or a number, explores other cases.
  unsigned seed = 2209427724u;
  if (const char* given = std::getenv("TEZLO_SHIFT_SEED")) {
    seed = std::string(given) == "random" ? std::random_device{}()
                                          : static_cast<unsigned>(std::strtoul(given, nullptr, 10));
  }
  std::string log;
  const std::vector<Case> cases = RunLibreOffice(dir, seed, log);
  std::filesystem::remove_all(dir);
  ASSERT_GE(cases.size(), 400u) << "LibreOffice (libreoffice-calc-nogui, python3-uno) did not "
                                   "run the cases:\n"
                                << log;
  int straddlingDeletions = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", case " + c.line);
    const RefShift& s = c.shift;
    const CellSet ours = Cells(ShiftArea(c.area, s));
    const CellSet theirs = c.formatAfter == "-" ? CellSet{} : Cells(ParseAreas(c.formatAfter));
    // Cells deleted from an area that crosses the band's edge: we follow the cells. LibreOffice
    // 7.4 cuts such a range into pieces and then moves some pieces as references (left where
    // they were when they cross the band) and others by the wrong axis, so only the cells
    // outside the band, which do not move, are compared.
    const bool rows = s.axis == RefShift::Axis::Rows;
    const int32_t c1 = rows ? c.area.first.col : c.area.first.row;
    const int32_t c2 = rows ? c.area.last.col : c.area.last.row;
    const int32_t a1 = rows ? c.area.first.row : c.area.first.col;
    const int32_t a2 = rows ? c.area.last.row : c.area.last.col;
    const bool straddles = c1 < s.bandFirst || c2 > s.bandLast;
    const bool loses = !s.insert && c2 >= s.bandFirst && c1 <= s.bandLast &&
                       a1 <= s.first + s.count - 1 && a2 >= s.first;
    if (straddles && loses) {
      ++straddlingDeletions;
      auto outside = [&](const CellSet& cells) {
        CellSet out;
        for (const auto& rc : cells) {
          const int32_t cross = rows ? rc.second : rc.first;
          if (cross < s.bandFirst || cross > s.bandLast) out.insert(rc);
        }
        return out;
      };
      EXPECT_EQ(outside(ours), outside(theirs));
      EXPECT_LE(ours.size(), c.area.Count());
    } else {
      EXPECT_EQ(ours, theirs);
    }
    // A validation is an attribute of each cell: it follows the cells exactly, and new cells
    // take it from the cell before them (after them, at the first row).
    const CellSet validated =
        c.validatedAfter == "-" ? CellSet{} : Cells(ParseAreas(c.validatedAfter));
    EXPECT_EQ(Cells(ShiftCellArea(c.area, s)), validated);
    // A comment follows its cell, and goes with it.
    EXPECT_EQ(ShiftCell(c.note, s), c.noteAfter);
    // The named range moves as a reference. When all its cells go, Excel writes the name as
    // Sheet1!#REF!; LibreOffice keeps the other axis ($Sheet1.$#REF!$4:$#REF!$6). We write it
    // as Excel does.
    FormulaRef ref;
    ref.kind = FormulaRef::Kind::Area;
    ref.first = RefEnd{c.area.first.row, c.area.first.col, true, true};
    ref.last = RefEnd{c.area.last.row, c.area.last.col, true, true};
    const std::string before = "Sheet1!" + FormatRef(ref);
    const std::string after = ShiftFormulaRefs(before, false, s).value_or(before);
    if (c.nameAfter.find("#REF!") != std::string::npos) {
      EXPECT_EQ(after, "Sheet1!#REF!");
      EXPECT_EQ(ShiftRange(c.area, s), std::nullopt);
    } else {
      ASSERT_EQ(ParseAreas(c.nameAfter).size(), 1u);
      EXPECT_EQ(ParseAreas(after), ParseAreas(c.nameAfter));
      // A range moves as the name does.
      EXPECT_EQ(ShiftRange(c.area, s), ParseAreas(c.nameAfter)[0]);
    }
  }
  // The random cases reach every rule (a handful of the 400 are such deletions; asking for more
  // than one would fail some seeds by chance).
  EXPECT_GT(straddlingDeletions, 0);
}

// The drawings libreoffice_anchors.py moved: each anchor where ShiftAnchor puts it. LibreOffice
// (7.4) differs where a corner's own cells are deleted (it deletes a drawing whose cells all go,
// and keeps a corner whose cells alone go where it was); those cases are left out.
TEST(ShiftAnchorAgainstLibreOffice, RandomDrawingsUnderRandomShifts) {
  char pattern[] = "/tmp/tezlo-anchors-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  unsigned seed = 20261208u;
  if (const char* given = std::getenv("TEZLO_SHIFT_SEED")) {
    seed = std::string(given) == "random" ? std::random_device{}()
                                          : static_cast<unsigned>(std::strtoul(given, nullptr, 10));
  }
  const std::string table = dir + "/anchors.tsv";
  const std::string logPath = dir + "/log";
  const std::string command = "/usr/bin/python3 '" + ScriptPath("libreoffice_anchors.py") + "' '" +
                              table + "' 200 " + std::to_string(seed) + " > '" + logPath + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream logIn(logPath);
  const std::string log(std::istreambuf_iterator<char>(logIn), {});
  std::vector<std::string> lines;
  std::ifstream in(table);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::filesystem::remove_all(dir);
  ASSERT_EQ(status, 0) << log;
  ASSERT_EQ(lines.size(), 200u) << log;

  const GridSize grid;
  int compared = 0;
  int moved = 0;
  for (const std::string& line : lines) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", case " + line);
    const std::vector<std::string> f = Split(line, '\t');
    ASSERT_EQ(f.size(), 9u);
    auto numbers = [](const std::string& text) {
      std::vector<int32_t> out;
      for (const std::string& n : Split(text, ' ')) out.push_back(std::stoi(n));
      return out;
    };
    const std::vector<int32_t> corners = numbers(f[1]);
    DrawingAnchor anchor;
    anchor.mode = f[0] == "twoCell"   ? AnchorMode::TwoCell
                  : f[0] == "oneCell" ? AnchorMode::OneCell
                                      : AnchorMode::Absolute;
    // Offsets a third and two thirds into the corners' cells (in EMU of a default cell).
    anchor.from = AnchorMarker{corners[0], 200000, corners[1], 60000};
    anchor.to = AnchorMarker{corners[2], 400000, corners[3], 120000};
    const bool rows = f[2] == "R";
    const bool whole = std::stoi(f[6]) == 0;
    RefShift s;
    s.axis = rows ? RefShift::Axis::Rows : RefShift::Axis::Cols;
    s.insert = f[3] == "I";
    s.first = std::stoi(f[4]);
    s.count = std::stoi(f[5]);
    s.bandFirst = whole ? 1 : std::stoi(f[6]);
    s.bandLast = whole ? (rows ? grid.cols : grid.rows) : std::stoi(f[7]);
    s.sheetName = "Sheet1";
    s.grid = grid;
    // Whether a corner's cell is among the deleted ones.
    auto deleted = [&](const AnchorMarker& m) {
      const int32_t along = (rows ? m.row : m.col) + 1;
      const int32_t cross = (rows ? m.col : m.row) + 1;
      return !s.insert && cross >= s.bandFirst && cross <= s.bandLast && along >= s.first &&
             along < s.first + s.count;
    };
    const bool cornerDeleted =
        anchor.mode != AnchorMode::Absolute &&
        (deleted(anchor.from) || (anchor.mode == AnchorMode::TwoCell && deleted(anchor.to)));
    if (cornerDeleted) continue;
    ++compared;
    ASSERT_NE(f[8], "-");
    const std::vector<int32_t> theirs = numbers(f[8]);
    const DrawingAnchor ours = ShiftAnchor(anchor, s);
    moved += !(ours == anchor);
    EXPECT_EQ((std::vector<int32_t>{ours.from.col, ours.from.row, ours.to.col, ours.to.row}),
              theirs);
  }
  // Most cases are compared, and many of them move a drawing.
  EXPECT_GT(compared, 150);
  EXPECT_GT(moved, 30);
}

}  // namespace
}  // namespace tezlo
