// The forwarding host changes nothing: random operations of every kind, done on one in-memory
// host directly and on another through a HostWrapper, give the same results, the same refusals
// and the same workbooks.
#include "host/host_wrapper.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "memory/display_text.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

std::string Show(const Value& v) {
  return std::to_string(static_cast<int>(v.Kind())) + ":" + DisplayText(v, "General");
}

std::string Show(const Matrix& m) {
  std::string out;
  for (int32_t r = 0; r < m.Rows(); ++r) {
    for (int32_t c = 0; c < m.Cols(); ++c) out += Show(m.At(r, c)) + ",";
  }
  return out;
}

std::string Show(Cell c) { return std::to_string(c.row) + "/" + std::to_string(c.col); }
std::string Show(const Area& a) { return Show(a.first) + "-" + Show(a.last); }

// What a whole workbook holds, as far as the operations below can change it.
std::string State(Host& h) {
  std::ostringstream out;
  out << h.ActiveWorkbook() << ' ' << h.WorkbookCount() << ' ' << Show(h.ActiveCell()) << ' '
      << Show(h.TopLeftVisibleCell()) << ' ' << h.ScreenUpdating() << h.DisplayAlerts() << '\n';
  const int32_t book = h.ActiveWorkbook();
  for (int32_t s = 1; s <= h.SheetCount(book); ++s) {
    const SheetRef sheet{book, s};
    out << h.SheetName(sheet) << ": " << Show(h.GetValues(sheet, Area::Of(1, 1, 12, 8)));
    for (int32_t i = 1; i <= 8; ++i) {
      out << h.ColumnWidth(sheet, i) << ' ' << h.RowHeight(sheet, i) << ' '
          << h.ColorIndex(sheet, {i, i}) << h.NumberFormat(sheet, {i, 2})
          << (h.HasComment(sheet, {i, 3}) ? h.CommentText(sheet, {i, 3}) : "")
          << h.GetFormula(sheet, {i, 4}) << ';';
    }
    out << '\n';
  }
  return out.str();
}

TEST(HostWrapper, ForwardsEveryOperationUnchanged) {
  MemorySettings settings;
  settings.rows = 12;
  settings.cols = 8;
  MemoryHost direct(settings);
  MemoryHost inner(settings);
  HostWrapper wrapped(inner);
  std::mt19937 rng(17);
  auto pick = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };

  for (int step = 0; step < 3000; ++step) {
    const int32_t sheetIndex = pick(1, 3);
    const Cell a{pick(0, 13), pick(1, 8)};  // row 0 and 13 lie off the sheet: refusals
    const Cell b{pick(1, 12), pick(1, 8)};
    const Area area = Area::Of(std::min(a.row, b.row), std::min(a.col, b.col),
                               std::max(a.row, b.row), std::max(a.col, b.col));
    const Value value = pick(0, 2) == 0 ? Value::Number(pick(-5, 5))
                                        : Value::Text("t" + std::to_string(pick(0, 9)));
    const int kind = pick(0, 33);
    // Drawn before either host runs, so that both get the same arguments.
    const int32_t n1 = pick(0, 80);
    const int32_t n2 = pick(0, 56);
    const int32_t n3 = pick(1, 8);
    const int32_t n4 = pick(0, 3);
    auto run = [&](Host& h) -> std::string {
      const SheetRef sheet{h.ActiveWorkbook(),
                           std::min(sheetIndex, h.SheetCount(h.ActiveWorkbook()))};
      try {
        switch (kind) {
          case 0: h.SetValue(sheet, a, value); return "";
          case 1: return Show(h.GetValue(sheet, a));
          case 2: return h.GetText(sheet, a);
          case 3: h.SetFormula(sheet, a, "=A1+" + std::to_string(n4), value); return "";
          case 4: return std::to_string(h.HasFormula(sheet, a));
          case 5: h.ClearContents(sheet, area); return "";
          case 6: return Show(h.End(sheet, a, static_cast<Direction>(n4)));
          case 7: return std::to_string(h.CountA(sheet, area));
          case 8: return std::to_string(h.Match(sheet, value, Area::Of(1, a.col, 12, a.col)));
          case 9: return Show(h.UsedRange(sheet));
          case 10: h.InsertShiftDown(sheet, area); return "";
          case 11: h.DeleteShiftUp(sheet, area); return "";
          case 12: h.DeleteRows(sheet, area.first.row, area.last.row); return "";
          case 13: h.DeleteColumns(sheet, area.first.col, area.last.col); return "";
          case 14: h.Sort(sheet, area, n3, n1 % 2 == 1); return "";
          case 15:
            h.Copy(sheet, area,
                   SheetRef{sheet.book, 1 + n4 % std::min(3, h.SheetCount(sheet.book))}, b);
            return "";
          case 16: h.AddComment(sheet, a, "c" + std::to_string(step)); return "";
          case 17: h.SetCommentText(sheet, a, "d" + std::to_string(step)); return "";
          case 18: h.ClearComments(sheet, area); return "";
          case 19: return std::to_string(h.HasComment(sheet, a));
          case 20:
            h.SetColumnWidth(sheet, area.first.col, area.last.col, (n1 % 41) / 2.0);
            return "";
          case 21: h.SetRowHeight(sheet, area.first.row, area.last.row, n1); return "";
          case 22: return std::to_string(h.ColumnWidthPoints(sheet, a.col));
          case 23: h.SetColorIndex(sheet, area, n2); return "";
          case 24: h.SetColumnColorIndex(sheet, area.first.col, area.last.col, n2); return "";
          case 25: h.SetNumberFormat(sheet, area, n1 % 2 == 0 ? "0.00" : "@"); return "";
          case 26: h.SetNumberFormatLocal(sheet, area, "yyyy-mm-dd"); return "";
          case 27:
            h.Select(Selection{{area, Area::Of(b)}, area.first});
            return Show(h.GetSelection().active);
          case 28:
            h.ActivateCell(a);
            h.SetScrollRow(b.row);
            h.SetScrollColumn(b.col);
            return "";
          case 29: return std::to_string(h.VisibleRows()) + std::to_string(h.VisibleColumns());
          case 30: h.ActivateSheet(sheet); return h.SheetName(h.ActiveSheet());
          case 31: h.RenameSheet(sheet, "s" + std::to_string(n2 % 5)); return "";
          case 32:
            if (h.SheetCount(sheet.book) < 6 && n1 % 2 == 0)
              return std::to_string(h.AddSheetAfter(sheet).sheet);
            h.DeleteSheet(sheet);
            return "";
          default:
            h.SetScreenUpdating(n1 % 2 == 1);
            h.SetDisplayAlerts(n2 % 2 == 1);
            return "";
        }
      } catch (const HostError& e) {
        return std::string("refused: ") + e.what();
      } catch (const std::exception& e) {
        ADD_FAILURE() << "step " << step << " kind " << kind << ": " << e.what();
        throw;
      }
    };
    const std::string expected = run(direct);
    ASSERT_EQ(run(wrapped), expected) << "step " << step << " kind " << kind;
  }
  EXPECT_EQ(State(wrapped), State(direct));
  EXPECT_EQ(&wrapped.Target(), static_cast<Host*>(&inner));
}

}  // namespace
}  // namespace tezlo
