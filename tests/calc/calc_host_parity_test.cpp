// The same random sequence of cell operations on the memory engine and on a new Calc document,
// compared after every step: values, formulas, number formats, colours, comments, widths,
// heights, counts, End, the selection, and which operations were refused.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "memory/constant_text.h"
#include "memory/memory_host.h"
#include "office_for_tests.h"

namespace tezlo {
namespace {

constexpr int32_t kRows = 10;  // the part of the sheet the operations touch
constexpr int32_t kCols = 6;

// Typed entries the memory engine and Calc must read alike.
const std::vector<std::string> kTyped = {"00123", "12.5",  "-7", "abc", "word", "'0",  "1980-05-01",
                                         "5%",    "1,234", "",   "x y", "中文", "2e3", "zz"};
const std::vector<std::string> kFormats = {"General", "@", "0.00", "yyyy-mm-dd"};
// Colour indexes whose palette colour no other index has (43 among them), and 0 for none.
const std::vector<int32_t> kColors = {0, 1, 2, 3, 4, 15, 16, 43, 44, 45, 46, 50, 53};
const std::vector<double> kWidths = {0, 4.5, 8.43, 12, 20.71};
const std::vector<double> kHeights = {0, 9.75, 15, 21, 30.75};

struct Constant {
  std::string formula;
  Value value;  // what the formula gives, so that the memory engine holds the same value
};

const std::vector<Constant> kConstantFormulas = {
    {"=1+2", Value::Number(3)},
    {"=2*3.5", Value::Number(7)},
    {"=1/0", Value::Error(ErrorCode::Div0)},
    {"=\"a\"&\"b\"", Value::Text("ab")},
};
// Formulas whose references move with the cells; only their text is compared.
const std::vector<std::string> kReferenceFormulas = {"=A1", "=SUM(B2:C4)", "=$D$3*2", "=Sheet2!B2"};

std::string Show(const Value& v) {
  // A date is a number Calc shows as a date: the memory engine keeps the kind it was given, so
  // the two are compared by their serial.
  const int kind = v.IsDate() ? static_cast<int>(ValueKind::Number) : static_cast<int>(v.Kind());
  return std::to_string(kind) + ":" + ConstantText(v.IsDate() ? Value::Number(v.AsNumber()) : v);
}

std::string Show(Cell c) { return std::to_string(c.row) + "/" + std::to_string(c.col); }
std::string Show(const Area& a) { return Show(a.first) + "-" + Show(a.last); }

// What the region of the sheet holds, one line per aspect.
std::string State(Host& h, SheetRef sheet) {
  std::ostringstream out;
  const Matrix values = h.GetValues(sheet, Area::Of(1, 1, kRows, kCols));
  for (int32_t r = 1; r <= kRows; ++r) {
    out << "row " << r << ":";
    for (int32_t c = 1; c <= kCols; ++c) {
      const Cell cell{r, c};
      out << " [";
      if (h.HasFormula(sheet, cell)) {
        const std::string f = h.GetFormula(sheet, cell);
        out << f;
        // Only a formula without references keeps the value both sides agree on.
        if (f.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ!$") == std::string::npos)
          out << "=" << Show(values.At(r - 1, c - 1));
      } else {
        out << Show(values.At(r - 1, c - 1));
      }
      out << " " << h.NumberFormat(sheet, cell) << " c" << h.ColorIndex(sheet, cell);
      if (h.HasComment(sheet, cell)) out << " note:" << h.CommentText(sheet, cell);
      out << "]";
    }
    out << " height " << h.RowHeight(sheet, r) << "\n";
  }
  // Widths in points: Calc keeps the whole pixels a width in characters gives, and reads back
  // the characters those pixels hold (4.5 characters are 36 pixels, read back as 4.43, as Excel
  // does); the memory engine keeps the characters as given. See WidthsReadBackInWholePixels.
  out << "widths";
  for (int32_t c = 1; c <= kCols; ++c) out << " " << h.ColumnWidthPoints(sheet, c);
  out << "\ncounta " << h.CountA(sheet, Area::Of(1, 1, kRows, kCols)) << "\nend";
  for (const Cell from : {Cell{1, 1}, Cell{3, 2}, Cell{kRows, kCols}, Cell{5, 4}}) {
    for (const Direction d :
         {Direction::Up, Direction::Down, Direction::ToLeft, Direction::ToRight}) {
      out << " " << Show(h.End(sheet, from, d));
    }
  }
  const Selection s = h.GetSelection();
  out << "\nselection";
  for (const Area& a : s.areas) out << " " << Show(a);
  out << " active " << Show(s.active) << "\n";
  return out.str();
}

class Parity : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Parity, RandomOperationsLeaveBothSpreadsheetsAlike) {
  MemoryHost memory;
  auto calc = NewCalcHost();
  ASSERT_EQ(calc->RowsCount(), memory.RowsCount());
  ASSERT_EQ(calc->ColumnsCount(), memory.ColumnsCount());
  const SheetRef sheet{1, 1};
  // Calc's default column width and row height are its own (see the differences test); both
  // start from the same sizes here.
  for (Host* h : {static_cast<Host*>(&memory), static_cast<Host*>(calc.get())}) {
    h->SetColumnWidth(sheet, 1, h->ColumnsCount(), 8.43);
    h->SetRowHeight(sheet, 1, h->RowsCount(), 15);
  }
  std::mt19937 rng(GetParam());
  auto pick = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  auto cell = [&] { return Cell{pick(1, kRows), pick(1, kCols)}; };
  auto area = [&] {
    const Cell a = cell();
    const Cell b{std::min(kRows, a.row + pick(0, 3)), std::min(kCols, a.col + pick(0, 2))};
    return Area{a, b};
  };

  for (int step = 0; step < 50; ++step) {
    // Every argument is drawn before either host runs.
    const int kind = pick(0, 21);
    const Cell c1 = cell();
    const Area a1 = area();
    const Area a2 = area();
    const std::string typed =
        kTyped[static_cast<size_t>(pick(0, static_cast<int32_t>(kTyped.size()) - 1))];
    Matrix block(pick(1, 3), pick(1, 3));
    for (int32_t r = 0; r < block.Rows(); ++r) {
      for (int32_t c = 0; c < block.Cols(); ++c) {
        block.At(r, c) = pick(0, 1) ? Value::Number(pick(-20, 20))
                                    : Value::Text(kTyped[static_cast<size_t>(pick(0, 13))]);
      }
    }
    const Constant constant = kConstantFormulas[static_cast<size_t>(pick(0, 3))];
    const std::string reference = kReferenceFormulas[static_cast<size_t>(pick(0, 3))];
    const std::string format = kFormats[static_cast<size_t>(pick(0, 3))];
    const int32_t color =
        pick(0, 9) == 0
            ? 57
            : kColors[static_cast<size_t>(pick(0, static_cast<int32_t>(kColors.size()) - 1))];
    const double width = pick(0, 9) == 0 ? 256 : kWidths[static_cast<size_t>(pick(0, 4))];
    const double height = pick(0, 9) == 0 ? 410 : kHeights[static_cast<size_t>(pick(0, 4))];
    const std::string note =
        "note " + std::to_string(pick(0, 9)) + (pick(0, 1) ? "\nsecond line" : "");
    const int32_t n1 = pick(1, kRows);
    const int32_t n2 = pick(1, 2);
    const bool flag = pick(0, 1) == 1;

    std::string description;
    auto run = [&](Host& h) -> std::string {
      try {
        switch (kind) {
          case 0:
          case 1:
            description = "SetValue " + Show(c1) + " " + typed;
            h.SetValue(sheet, c1, Value::Text(typed));
            break;
          case 2:
            description = "SetValues " + Show(c1);
            h.SetValues(sheet, c1, block);
            break;
          case 3:
            description = "SetFormula " + Show(c1) + " " + constant.formula;
            h.SetFormula(sheet, c1, constant.formula, constant.value);
            break;
          case 4:
            description = "SetFormula " + Show(c1) + " " + reference;
            h.SetFormula(sheet, c1, reference, Value::Number(0));
            break;
          case 5:
            description = "ClearContents " + Show(a1);
            h.ClearContents(sheet, a1);
            break;
          case 6:
            description = "InsertShiftDown " + Show(a1);
            h.InsertShiftDown(sheet, a1);
            break;
          case 7:
            description = "DeleteShiftUp " + Show(a1);
            h.DeleteShiftUp(sheet, a1);
            break;
          case 8:
            description = "DeleteRows " + std::to_string(n1);
            h.DeleteRows(sheet, n1, n1 + n2 - 1);
            break;
          case 9:
            description = "DeleteColumns " + std::to_string(n2 + 1);
            h.DeleteColumns(sheet, n2 + 1, n2 + 1);
            break;
          case 10:
            description = "AddComment " + Show(c1);
            h.AddComment(sheet, c1, note);
            break;
          case 11:
            description = "SetCommentText " + Show(c1);
            h.SetCommentText(sheet, c1, note);
            break;
          case 12:
            description = "ClearComments " + Show(a1);
            h.ClearComments(sheet, a1);
            break;
          case 13:
            description = "SetColumnWidth " + std::to_string(c1.col) + " " + std::to_string(width);
            h.SetColumnWidth(sheet, c1.col, a1.last.col, width);
            break;
          case 14:
            description = "SetRowHeight " + std::to_string(c1.row) + " " + std::to_string(height);
            h.SetRowHeight(sheet, c1.row, a1.last.row, height);
            break;
          case 15:
            description = "SetColorIndex " + Show(a1) + " " + std::to_string(color);
            h.SetColorIndex(sheet, a1, color);
            break;
          case 16:
            description = "SetNumberFormat " + Show(a1) + " " + format;
            h.SetNumberFormat(sheet, a1, format);
            break;
          case 17:
            description = "Sort " + Show(a1) + " key " + std::to_string(c1.col);
            h.Sort(sheet, a1, c1.col, flag);
            break;
          case 18:
            description = "Copy " + Show(a1) + " to " + Show(a2.first);
            h.Copy(sheet, a1, sheet, a2.first);
            break;
          case 19: {
            Selection s{{a1}, a1.first};
            if (flag) s.areas.push_back(a2);
            s.active = flag ? a2.last : a1.last;
            description = "Select " + Show(a1) + (flag ? "," + Show(a2) : "");
            h.Select(s);
            break;
          }
          case 20:
            description = "ActivateCell " + Show(c1);
            h.ActivateCell(c1);
            break;
          default:
            description = "Match " + typed + " in " + Show(a1);
            return std::to_string(h.Match(sheet, Value::Text(typed), a1));
        }
        return "done";
      } catch (const HostError&) {
        return "refused";
      }
    };
    const std::string m = run(memory);
    const std::string c = run(*calc);
    ASSERT_EQ(c, m) << "step " << step << ": " << description;
    ASSERT_EQ(State(*calc, sheet), State(memory, sheet))
        << "after step " << step << ": " << description;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Parity, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace tezlo
