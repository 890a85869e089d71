// Array formulas stay whole through every operation of the host: random arrays under random
// shifts, writes, copies and sorts, each operation's refusal and result judged by a model that
// follows every cell on its own (an array is kept when all of its cells go the same way), and the
// sheet unchanged by a refused operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/constant_text.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};
constexpr int32_t kRows = 30;  // the part of the sheet the arrays and operations use
constexpr int32_t kCols = 10;

bool Meets(const Area& a, const Area& b) {
  return a.first.row <= b.last.row && b.first.row <= a.last.row && a.first.col <= b.last.col &&
         b.first.col <= a.last.col;
}
bool Inside(const Area& inner, const Area& outer) {
  return outer.Contains(inner.first) && outer.Contains(inner.last);
}

void PutArray(Sheet& sheet, const Area& block, const std::string& formula) {
  for (int32_t r = block.first.row; r <= block.last.row; ++r) {
    for (int32_t c = block.first.col; c <= block.last.col; ++c) {
      sheet.Edit(Cell{r, c}, [&](CellRecord& rec) { rec.value = Value::Number(r * 100 + c); });
    }
  }
  sheet.Edit(block.first, [&](CellRecord& rec) {
    rec.Extras().formula = formula;
    rec.extras->array =
        ArrayExtent{static_cast<int32_t>(block.Rows()), static_cast<int32_t>(block.Cols())};
  });
  sheet.NoteArray(
      ArrayExtent{static_cast<int32_t>(block.Rows()), static_cast<int32_t>(block.Cols())});
}

std::vector<Area> Sorted(std::vector<Area> areas) {
  std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) {
    return std::tie(a.first.row, a.first.col, a.last.row, a.last.col) <
           std::tie(b.first.row, b.first.col, b.last.row, b.last.col);
  });
  return areas;
}

// Every stored cell: where, value, formula and array extent.
std::string Snapshot(const Sheet& sheet) {
  std::string out;
  sheet.ForEachCellByRow([&out](Cell c, const CellRecord& r) {
    out += std::to_string(c.row) + "," + std::to_string(c.col) + ":" + ConstantText(r.value);
    if (r.extras) {
      out += "|" + r.extras->formula + "|" + std::to_string(r.extras->array.rows) + "x" +
             std::to_string(r.extras->array.cols);
    }
    out += "\n";
  });
  return out;
}

// Where a shift takes one cell: nothing when deleted, row 0 when pushed off the sheet.
struct CellShift {
  enum class Kind { InsertDown, DeleteUp, DeleteRows, DeleteCols } kind;
  Area area;  // the band (rows or columns alone for whole lines)
  int32_t sheetRows;
  std::optional<Cell> Fate(Cell c) const {
    const auto n = static_cast<int32_t>(kind == Kind::DeleteCols ? area.Cols() : area.Rows());
    const bool inColumns = c.col >= area.first.col && c.col <= area.last.col;
    switch (kind) {
      case Kind::InsertDown:
        if (!inColumns || c.row < area.first.row) return c;
        return Cell{c.row + n > sheetRows ? 0 : c.row + n, c.col};
      case Kind::DeleteUp:
        if (!inColumns || c.row < area.first.row) return c;
        if (c.row <= area.last.row) return std::nullopt;
        return Cell{c.row - n, c.col};
      case Kind::DeleteRows:
        if (c.row < area.first.row) return c;
        if (c.row <= area.last.row) return std::nullopt;
        return Cell{c.row - n, c.col};
      case Kind::DeleteCols:
        if (c.col < area.first.col) return c;
        if (c.col <= area.last.col) return std::nullopt;
        return Cell{c.row, c.col - n};
    }
    return c;
  }
  // The block after the shift, nothing when all its cells went; refused (throws) when its cells
  // do not all go the same way or part of it leaves the sheet.
  std::optional<Area> Block(const Area& b, bool& refused) const {
    int deleted = 0;
    std::optional<std::pair<int32_t, int32_t>> offset;
    for (int32_t r = b.first.row; r <= b.last.row; ++r) {
      for (int32_t c = b.first.col; c <= b.last.col; ++c) {
        const std::optional<Cell> to = Fate(Cell{r, c});
        if (!to) {
          ++deleted;
          continue;
        }
        if (to->row == 0) refused = true;
        const std::pair<int32_t, int32_t> d{to->row - r, to->col - c};
        if (offset && *offset != d) refused = true;
        offset = d;
      }
    }
    if (deleted == b.Count()) return std::nullopt;
    if (deleted > 0) refused = true;
    return Area::Of(b.first.row + offset->first, b.first.col + offset->second,
                    b.last.row + offset->first, b.last.col + offset->second);
  }
};

Area RandomArea(std::mt19937& rng, int32_t maxRows, int32_t maxCols) {
  const int32_t r = 1 + static_cast<int32_t>(rng() % kRows);
  const int32_t c = 1 + static_cast<int32_t>(rng() % kCols);
  return Area::Of(r, c, r + static_cast<int32_t>(rng() % static_cast<unsigned>(maxRows)),
                  c + static_cast<int32_t>(rng() % static_cast<unsigned>(maxCols)));
}

TEST(ArrayFormulas, RandomOperationsKeepEveryArrayWholeOrAreRefused) {
  unsigned seed = 4711;
  if (const char* s = std::getenv("TEZLO_ARRAY_SEED"))
    seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
  std::mt19937 rng(seed);
  int refusals = 0;
  int allowed = 0;
  for (int round = 0; round < 40; ++round) {
    MemoryHost h;
    Sheet& sheet = h.GetSheet(kS);
    std::vector<Area> arrays;
    for (int k = 0; k < 8; ++k) {
      const Area block = RandomArea(rng, 4, 3);
      if (std::any_of(arrays.begin(), arrays.end(), [&](const Area& a) { return Meets(a, block); }))
        continue;
      arrays.push_back(block);
      PutArray(sheet, block, "=SUM(A1:A3*B1:B3)+" + std::to_string(k));
    }
    // Plain formulas and values around them.
    for (int k = 0; k < 20; ++k) {
      const Cell c{1 + static_cast<int32_t>(rng() % kRows),
                   1 + static_cast<int32_t>(rng() % kCols)};
      if (std::any_of(arrays.begin(), arrays.end(), [&](const Area& a) { return a.Contains(c); }))
        continue;
      if (k % 2 == 0) {
        h.SetFormula(kS, c, "=A1+" + std::to_string(k), Value::Number(k));
      } else {
        h.SetValue(kS, c, Value::Number(static_cast<double>(rng() % 50)));
      }
    }
    ASSERT_EQ(Sorted(AllArrays(sheet)), Sorted(arrays));
    for (int step = 0; step < 30; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + " step " +
                   std::to_string(step));
      const std::string before = Snapshot(sheet);
      bool refused = false;
      std::vector<Area> expected;
      std::optional<Area> sortArea;
      std::function<void()> run;
      const unsigned op = rng() % 8;
      if (op < 4) {
        CellShift shift{static_cast<CellShift::Kind>(op), RandomArea(rng, 3, 4), sheet.Rows()};
        if (shift.kind == CellShift::Kind::DeleteRows)
          shift.area = Area::Of(shift.area.first.row, 1, shift.area.last.row, sheet.Cols());
        if (shift.kind == CellShift::Kind::DeleteCols)
          shift.area = Area::Of(1, shift.area.first.col, sheet.Rows(), shift.area.last.col);
        for (const Area& a : arrays) {
          if (const std::optional<Area> moved = shift.Block(a, refused)) expected.push_back(*moved);
        }
        const Area a = shift.area;
        switch (shift.kind) {
          case CellShift::Kind::InsertDown: run = [&h, a] { h.InsertShiftDown(kS, a); }; break;
          case CellShift::Kind::DeleteUp: run = [&h, a] { h.DeleteShiftUp(kS, a); }; break;
          case CellShift::Kind::DeleteRows:
            run = [&h, a] { h.DeleteRows(kS, a.first.row, a.last.row); };
            break;
          case CellShift::Kind::DeleteCols:
            run = [&h, a] { h.DeleteColumns(kS, a.first.col, a.last.col); };
            break;
        }
      } else if (op < 7) {
        // Writes over an area: values, clearing, or a copy of another area onto it.
        const Area dest = RandomArea(rng, 4, 4);
        for (const Area& a : arrays) {
          if (Meets(a, dest) && !Inside(a, dest)) refused = true;
          if (!Meets(a, dest)) expected.push_back(a);
        }
        if (op == 4) {
          Matrix m(static_cast<int32_t>(dest.Rows()), static_cast<int32_t>(dest.Cols()));
          m.At(0, 0) = Value::Number(1);
          run = [&h, dest, m] { h.SetValues(kS, dest.first, m); };
        } else if (op == 5) {
          run = [&h, dest] { h.ClearContents(kS, dest); };
        } else {
          const Area source = Area::Of(1 + static_cast<int32_t>(rng() % kRows),
                                       1 + static_cast<int32_t>(rng() % kCols), 0, 0);
          const Area from = Area::Of(source.first.row, source.first.col,
                                     source.first.row + static_cast<int32_t>(dest.Rows()) - 1,
                                     source.first.col + static_cast<int32_t>(dest.Cols()) - 1);
          for (const Area& a : arrays) {
            if (Inside(a, from)) {
              const int32_t dr = dest.first.row - from.first.row;
              const int32_t dc = dest.first.col - from.first.col;
              expected.push_back(
                  Area::Of(a.first.row + dr, a.first.col + dc, a.last.row + dr, a.last.col + dc));
            }
          }
          run = [&h, from, dest] { h.Copy(kS, from, kS, dest.first); };
        }
      } else {
        const Area area = RandomArea(rng, 6, 4);
        sortArea = area;
        for (const Area& a : arrays) {
          if (Meets(a, area) && (a.Rows() > 1 || !Inside(a, area))) refused = true;
        }
        const int32_t key =
            area.first.col + static_cast<int32_t>(rng() % static_cast<unsigned>(area.Cols()));
        run = [&h, area, key] { h.Sort(kS, area, key, false); };
      }
      if (refused) {
        EXPECT_THROW(run(), HostError);
        EXPECT_EQ(Snapshot(sheet), before);
        ++refusals;
        continue;
      }
      ASSERT_NO_THROW(run());
      ++allowed;
      const std::vector<Area> now = AllArrays(sheet);
      EXPECT_TRUE(BrokenArrays(sheet).empty());
      for (const Area& a : now) EXPECT_TRUE(sheet.Contains(a.last));
      if (sortArea) {
        // Rows moved within the area: the arrays outside stay, those inside are as many.
        EXPECT_EQ(now.size(), arrays.size());
        for (const Area& a : arrays) {
          if (!Meets(a, *sortArea)) {
            EXPECT_NE(std::find(now.begin(), now.end(), a), now.end());
          }
        }
      } else {
        EXPECT_EQ(Sorted(now), Sorted(expected));
      }
      arrays = now;
    }
  }
  // Both outcomes were exercised many times.
  EXPECT_GT(refusals, 100);
  EXPECT_GT(allowed, 200);
}

TEST(ArrayFormulas, AnArrayPushedPartlyOffTheSheetRefusesTheInsertion) {
  MemoryHost h;
  Sheet& sheet = h.GetSheet(kS);
  const int32_t last = sheet.Rows();
  PutArray(sheet, Area::Of(last - 3, 2, last - 2, 2), "=ROW()");
  sheet.Edit(Cell{last - 2, 2},
             [](CellRecord& r) { r.value = Value(); });  // the tail holds nothing
  const std::string before = Snapshot(sheet);
  EXPECT_THROW(h.InsertShiftDown(kS, Area::Of(1, 1, 3, 3)), HostError);
  EXPECT_EQ(Snapshot(sheet), before);
  h.InsertShiftDown(kS, Area::Of(1, 1, 2, 3));
  EXPECT_EQ(AllArrays(sheet), std::vector<Area>{Area::Of(last - 1, 2, last, 2)});
}

// A single cell's array is the whole array: writing a value or a formula there replaces it; a
// formula written into any cell of a larger one is refused.
TEST(ArrayFormulas, OneCellArraysAreReplacedLargerOnesRefuseACellsWrite) {
  MemoryHost h;
  Sheet& sheet = h.GetSheet(kS);
  PutArray(sheet, Area::Of(1, 1, 1, 1), "=SUM(B1:B2)");
  PutArray(sheet, Area::Of(3, 1, 4, 2), "=B1:C2*2");
  h.SetFormula(kS, Cell{1, 1}, "=B1", Value::Number(1));
  EXPECT_EQ(h.GetFormula(kS, Cell{1, 1}), "=B1");
  EXPECT_EQ(AllArrays(sheet), std::vector<Area>{Area::Of(3, 1, 4, 2)});
  for (Cell c : {Cell{3, 1}, Cell{4, 2}}) {
    EXPECT_THROW(h.SetFormula(kS, c, "=1", Value()), HostError);
    EXPECT_THROW(h.SetFormula(kS, c, "text", Value()), HostError);
    EXPECT_THROW(h.SetValue(kS, c, Value::Number(1)), HostError);
  }
  EXPECT_EQ(h.GetFormula(kS, Cell{3, 1}), "=B1:C2*2");
  // Comments and formats are no part of the array.
  h.AddComment(kS, Cell{4, 2}, "note");
  h.SetColorIndex(kS, Area::Of(3, 1, 4, 2), 6);
  EXPECT_EQ(AllArrays(sheet), std::vector<Area>{Area::Of(3, 1, 4, 2)});
}

// A file may hold arrays that overlap or that cover another formula: those are found.
TEST(ArrayFormulas, BrokenArraysAreFound) {
  MemoryHost h;
  Sheet& sheet = h.GetSheet(kS);
  PutArray(sheet, Area::Of(1, 2, 3, 3), "=1");  // B1:C3
  PutArray(sheet, Area::Of(2, 1, 2, 4), "=2");  // A2:D2 crosses it, neither anchor in the other
  PutArray(sheet, Area::Of(5, 1, 6, 2), "=3");  // A5:B6 holds a plain formula
  sheet.Edit(Cell{6, 2}, [](CellRecord& r) { r.Extras().formula = "=9"; });
  PutArray(sheet, Area::Of(8, 1, 9, 1), "=4");  // A8:A9 and B8 beside it: fine
  PutArray(sheet, Area::Of(8, 2, 8, 2), "=5");
  PutArray(sheet, Area::Of(10, 1, 10, 1), "=6");
  PutArray(sheet, Area::Of(10, 5, 11, 6), "=7");  // E10:F11 holds the anchor of another
  PutArray(sheet, Area::Of(11, 6, 11, 6), "=8");
  EXPECT_EQ(BrokenArrays(sheet), (std::vector<Cell>{{2, 1}, {5, 1}, {10, 5}}));
}

}  // namespace
}  // namespace tezlo
