// End walks and content counts along long lines, on the memory engine and on a new Calc document
// holding the same random runs of numbers: runs and gaps of up to thousands of cells down a few
// columns and along one row, walked from their edges, from inside them and from the sheet's
// edges, in every direction; counts over areas that reach columns Calc has stored nothing in.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "memory/memory_host.h"
#include "office_for_tests.h"

namespace tezlo {
namespace {

constexpr int32_t kRunColumns = 4;  // columns 1-4 hold runs down to about row 12,000
constexpr int32_t kRunRow = 7;      // and row 7 holds runs out to about column 5,000
constexpr int32_t kLineLength = 5000;

std::string Show(Cell c) { return std::to_string(c.row) + "/" + std::to_string(c.col); }

class LongLines : public ::testing::TestWithParam<uint32_t> {};

TEST_P(LongLines, EndWalksAndCountsMatchTheMemoryEngine) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  const SheetRef sheet{1, 1};
  const int32_t rows = memory.RowsCount();
  const int32_t cols = memory.ColumnsCount();
  ASSERT_EQ(calc->RowsCount(), rows);
  ASSERT_EQ(calc->ColumnsCount(), cols);
  std::mt19937 rng(GetParam());
  auto pick = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  // Run lengths from single cells to a few thousand, so that walks cross many stretches.
  auto length = [&] { return pick(0, 3) == 0 ? pick(1000, 3000) : pick(1, 40); };

  std::vector<int32_t> edges = {1, 2, rows - 1, rows};  // rows and columns worth walking from
  auto write = [&](Cell at, int32_t count, bool down) {
    Matrix m(down ? count : 1, down ? 1 : count);
    for (int32_t i = 0; i < count; ++i)
      (down ? m.At(i, 0) : m.At(0, i)) = Value::Number(pick(1, 999));
    memory.SetValues(sheet, at, m);
    calc->SetValues(sheet, at, m);
  };
  for (int32_t col = 1; col <= kRunColumns; ++col) {
    for (int32_t row = pick(1, 50); row < 3 * kLineLength;) {
      const int32_t n = length();
      write(Cell{row, col}, n, true);
      edges.insert(edges.end(), {row - 1, row, row + 1, row + n - 2, row + n - 1, row + n});
      row += n + length();
    }
  }
  for (int32_t col = kRunColumns + 2; col < kLineLength;) {
    const int32_t n = std::min(length(), kLineLength - col);
    write(Cell{kRunRow, col}, n, false);
    edges.insert(edges.end(), {col - 1, col, col + 1, col + n - 2, col + n - 1, col + n});
    col += n + length();
  }

  auto edge = [&] {
    return edges[static_cast<size_t>(pick(0, static_cast<int32_t>(edges.size()) - 1))];
  };
  const Direction directions[] = {Direction::Up, Direction::Down, Direction::ToLeft,
                                  Direction::ToRight};
  int walks = 0;
  for (int i = 0; i < 300; ++i) {
    // Down a run column, along the run row, or down a column Calc stores nothing in.
    const int kind = pick(0, 2);
    const Cell from = kind == 0   ? Cell{std::clamp(edge(), 1, rows), pick(1, kRunColumns + 1)}
                      : kind == 1 ? Cell{kRunRow + pick(-1, 1), std::clamp(edge(), 1, cols)}
                                  : Cell{std::clamp(edge(), 1, rows), pick(kLineLength, cols)};
    for (const Direction d : directions) {
      EXPECT_EQ(Show(calc->End(sheet, from, d)), Show(memory.End(sheet, from, d)))
          << "from " << Show(from) << " direction " << static_cast<int>(d);
      ++walks;
    }
  }
  EXPECT_EQ(walks, 1200);

  for (int i = 0; i < 60; ++i) {
    const int32_t top = std::clamp(edge(), 1, rows);
    const int32_t bottom = std::min(rows, top + pick(0, 4) * pick(0, 5000));
    const int32_t left = pick(0, 1) == 0 ? pick(1, kLineLength) : pick(kLineLength, cols);
    const int32_t right = std::min(cols, left + pick(0, 3) * pick(0, 4000));
    const Area area = Area::Of(top, left, bottom, right);
    EXPECT_EQ(calc->CountA(sheet, area), memory.CountA(sheet, area))
        << Show(area.first) << "-" << Show(area.last);
  }
  // The counts are not all zero: the runs are found.
  EXPECT_GT(memory.CountA(sheet, Area::Of(1, 1, rows, kRunColumns)), 3 * kLineLength / 4);
  EXPECT_EQ(calc->CountA(sheet, Area::Of(1, kLineLength + 1, rows, cols)), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, LongLines, ::testing::Values(1u, 2u));

}  // namespace
}  // namespace tezlo
