// Cells holding only a format live in format runs, apart from the records; every move of cells
// must carry both alike. A random mix of shifts, deletions and copies is checked against a plain
// grid that moves each cell by hand.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "host/host_error.h"
#include "memory/cell_shift.h"
#include "memory/range_copy.h"
#include "memory/range_sort.h"
#include "memory/sheet.h"

namespace tezlo {
namespace {

constexpr int32_t kRows = 400;
constexpr int32_t kCols = 16;

struct ModelCell {
  double number = 0;  // 0: empty
  int color = 0;      // 0: none
  uint32_t style = 0;
  bool operator==(const ModelCell&) const = default;
};

using Grid = std::vector<std::vector<ModelCell>>;  // [row][col], 1-based with row 0 / col 0 unused

Grid Empty() { return Grid(kRows + 1, std::vector<ModelCell>(kCols + 1)); }

void ExpectSame(const Sheet& s, const Grid& g, const std::string& step) {
  for (int32_t r = 1; r <= kRows; ++r) {
    for (int32_t c = 1; c <= kCols; ++c) {
      const CellRecord* rec = s.Find({r, c});
      ModelCell got;
      got.number = rec && rec->value.IsNumber() ? rec->value.AsNumber() : 0;
      got.color = s.ColorIndexAt({r, c});
      got.style = s.OwnFormat({r, c}).style;
      ASSERT_EQ(got, g[static_cast<size_t>(r)][static_cast<size_t>(c)])
          << step << " at row " << r << " col " << c << ": got " << got.number << "/" << got.color
          << "/" << got.style;
    }
  }
}

TEST(FormatRuns, EveryMoveCarriesRunsAndRecordsAlike) {
  std::mt19937 rng(12);
  auto pick = [&rng](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  for (int round = 0; round < 12; ++round) {
    Sheet s("S", kRows, kCols);
    Grid g = Empty();
    // Values in records (some with a format), format-only cells in runs of a few rows.
    for (int32_t r = 1; r <= 40; ++r) {
      for (int32_t c = 1; c <= kCols; ++c) {
        const int kind = pick(0, 5);
        ModelCell& m = g[static_cast<size_t>(r)][static_cast<size_t>(c)];
        if (kind == 0) {
          m.number = r * 100 + c;
          m.color = pick(0, 1) * 6;
          m.style = static_cast<uint32_t>(pick(0, 2));
          s.Edit({r, c}, [&](CellRecord& rec) {
            rec.value = Value::Number(m.number);
            rec.colorIndex = m.color == 0 ? kInheritColor : static_cast<uint8_t>(m.color);
            rec.style = m.style;
          });
        } else if (kind <= 2) {
          m.color = kind == 1 ? 43 : 0;
          m.style = kind == 2 ? 5 : 0;
          CellFormat f;
          if (m.color != 0) f.colorIndex = static_cast<uint8_t>(m.color);
          f.style = m.style;
          s.SetRunFormat(c, r, r, f);
        }
      }
    }
    ExpectSame(s, g, "set-up");
    for (int step = 0; step < 25; ++step) {
      const int op = pick(0, 5);
      const int32_t c1 = pick(1, kCols);
      const int32_t c2 = std::min(kCols, c1 + pick(0, 5));
      const int32_t r1 = pick(1, 45);
      const int32_t r2 = r1 + pick(0, 3);
      const int32_t n = r2 - r1 + 1;
      std::string what = "round " + std::to_string(round) + " step " + std::to_string(step) +
                         " op " + std::to_string(op);
      if (op == 0) {
        InsertCellsShiftDown(s, Area::Of(r1, c1, r2, c2));
        for (int32_t c = c1; c <= c2; ++c) {
          for (int32_t r = kRows; r >= r1 + n; --r)
            g[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                g[static_cast<size_t>(r - n)][static_cast<size_t>(c)];
          ModelCell above =
              r1 > 1 ? g[static_cast<size_t>(r1 - 1)][static_cast<size_t>(c)] : ModelCell{};
          above.number = 0;
          for (int32_t r = r1; r < r1 + n; ++r)
            g[static_cast<size_t>(r)][static_cast<size_t>(c)] = above;
        }
      } else if (op == 1) {
        DeleteCellsShiftUp(s, Area::Of(r1, c1, r2, c2));
        for (int32_t c = c1; c <= c2; ++c) {
          for (int32_t r = r1; r <= kRows; ++r) {
            g[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                r + n <= kRows ? g[static_cast<size_t>(r + n)][static_cast<size_t>(c)]
                               : ModelCell{};
          }
        }
      } else if (op == 2) {
        DeleteWholeRows(s, r1, r2);
        for (int32_t r = r1; r <= kRows; ++r)
          g[static_cast<size_t>(r)] =
              r + n <= kRows ? g[static_cast<size_t>(r + n)] : std::vector<ModelCell>(kCols + 1);
      } else if (op == 3) {
        DeleteWholeColumns(s, c1, c2);
        const int32_t m = c2 - c1 + 1;
        for (auto& row : g) {
          for (int32_t c = c1; c <= kCols; ++c)
            row[static_cast<size_t>(c)] =
                c + m <= kCols ? row[static_cast<size_t>(c + m)] : ModelCell{};
        }
      } else if (op == 5) {
        // A colour over a band, empty cells and records alike (0 takes colours away).
        const int color = pick(0, 2) * 3;
        const Area band = Area::Of(r1, c1, r2 + pick(0, 60), c2);
        s.FormatArea(band, [color](int32_t, CellFormat f) {
          f.colorIndex = color == 0 ? kInheritColor : static_cast<uint8_t>(color);
          return f;
        });
        for (int32_t r = band.first.row; r <= band.last.row; ++r) {
          for (int32_t c = c1; c <= c2; ++c)
            g[static_cast<size_t>(r)][static_cast<size_t>(c)].color = color;
        }
      } else {
        // A copy of rows r1..r2 + 6 of columns c1..c2 to a place that may overlap it.
        const Area from = Area::Of(r1, c1, r2 + 6, c2);
        const Cell to{pick(1, 50), pick(1, kCols - (c2 - c1))};
        CopyCells(s, from, s, to);
        const Grid before = g;
        for (int32_t r = from.first.row; r <= from.last.row; ++r) {
          for (int32_t c = from.first.col; c <= from.last.col; ++c) {
            g[static_cast<size_t>(to.row + r - from.first.row)]
             [static_cast<size_t>(to.col + c - from.first.col)] =
                 before[static_cast<size_t>(r)][static_cast<size_t>(c)];
          }
        }
      }
      ExpectSame(s, g, what);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(FormatRuns, EditingAndSortingACellOfARunMakeItARecordOfTheSameFormat) {
  Sheet s("S", kRows, kCols);
  CellFormat yellow;
  yellow.colorIndex = 6;
  yellow.style = 4;
  s.SetRunFormat(2, 1, 300, yellow);
  EXPECT_EQ(s.RunCount(), 1u);
  s.Edit({150, 2}, [](CellRecord& r) { r.value = Value::Number(1); });
  EXPECT_EQ(s.Find({150, 2})->style, 4u);
  EXPECT_EQ(s.ColorIndexAt({150, 2}), 6);
  EXPECT_EQ(s.RunCount(), 2u);  // the run is cut around the record
  EXPECT_EQ(s.RunFormat({150, 2}), nullptr);
  s.Edit({10, 1}, [](CellRecord& r) { r.value = Value::Number(5); });
  s.Edit({11, 1}, [](CellRecord& r) { r.value = Value::Number(3); });
  CellFormat other;
  other.style = 9;
  s.SetRunFormat(2, 11, 11, other);
  SortRows(s, Area::Of(10, 1, 11, 2), 1, false);
  EXPECT_EQ(s.OwnFormat({10, 2}).style, 9u);  // the row with 3 came first, its format with it
  EXPECT_EQ(s.OwnFormat({11, 2}).style, 4u);
  // Colouring a long empty band costs one run, and a value typed into it keeps the colour.
  s.FormatArea(Area::Of(1, 5, 300, 5), [](int32_t, CellFormat f) {
    f.colorIndex = 43;
    return f;
  });
  EXPECT_EQ(s.FormatRuns().at(5).Size(), 1u);
  EXPECT_EQ(s.Column(5), nullptr);
  s.Edit({40, 5}, [](CellRecord& r) { r.value = Value::Number(2); });
  EXPECT_EQ(s.ColorIndexAt({40, 5}), 43);
  // Whole-column formats take over the runs' own colours.
  s.SetColumnColor(2, 2, 3);
  EXPECT_EQ(s.ColorIndexAt({200, 2}), 3);
  EXPECT_EQ(s.OwnFormat({200, 2}).style, 4u);
}

}  // namespace
}  // namespace tezlo
