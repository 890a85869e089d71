#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};

class MemoryHostEndTest : public ::testing::Test {
 protected:
  void Put(int32_t row, int32_t col) { h.SetValue(kS, Cell{row, col}, Value::Text("x")); }
  Cell End(int32_t row, int32_t col, Direction d) { return h.End(kS, Cell{row, col}, d); }
  MemoryHost h;
};

TEST_F(MemoryHostEndTest, EmptyColumnGoesToTheSheetEdges) {
  EXPECT_EQ(End(5, 1, Direction::Down), (Cell{1048576, 1}));
  EXPECT_EQ(End(5, 1, Direction::Up), (Cell{1, 1}));
  EXPECT_EQ(End(5, 3, Direction::ToRight), (Cell{5, 16384}));
  EXPECT_EQ(End(5, 3, Direction::ToLeft), (Cell{5, 1}));
  EXPECT_EQ(End(1048576, 1, Direction::Down), (Cell{1048576, 1}));
  EXPECT_EQ(End(1, 1, Direction::Up), (Cell{1, 1}));
}

TEST_F(MemoryHostEndTest, RunsAndGapsDownAndUp) {
  for (int r = 10; r <= 14; ++r) Put(r, 1);
  Put(20, 1);
  EXPECT_EQ(End(1, 1, Direction::Down), (Cell{10, 1}));   // empty: nearest filled
  EXPECT_EQ(End(10, 1, Direction::Down), (Cell{14, 1}));  // run: its end
  EXPECT_EQ(End(12, 1, Direction::Down), (Cell{14, 1}));
  EXPECT_EQ(End(14, 1, Direction::Down), (Cell{20, 1}));  // end of run: next filled
  EXPECT_EQ(End(20, 1, Direction::Down), (Cell{1048576, 1}));
  EXPECT_EQ(End(1048576, 1, Direction::Up), (Cell{20, 1}));
  EXPECT_EQ(End(20, 1, Direction::Up), (Cell{14, 1}));
  EXPECT_EQ(End(14, 1, Direction::Up), (Cell{10, 1}));
  EXPECT_EQ(End(10, 1, Direction::Up), (Cell{1, 1}));
  EXPECT_EQ(End(16, 1, Direction::Up), (Cell{14, 1}));
}

TEST_F(MemoryHostEndTest, LeftAndRightAlongARow) {
  for (int c = 3; c <= 6; ++c) Put(2, c);
  Put(2, 40);
  EXPECT_EQ(End(2, 1, Direction::ToRight), (Cell{2, 3}));
  EXPECT_EQ(End(2, 3, Direction::ToRight), (Cell{2, 6}));
  EXPECT_EQ(End(2, 6, Direction::ToRight), (Cell{2, 40}));
  EXPECT_EQ(End(2, 40, Direction::ToRight), (Cell{2, 16384}));
  EXPECT_EQ(End(2, 16384, Direction::ToLeft), (Cell{2, 40}));
  EXPECT_EQ(End(2, 40, Direction::ToLeft), (Cell{2, 6}));
  EXPECT_EQ(End(2, 5, Direction::ToLeft), (Cell{2, 3}));
  EXPECT_EQ(End(2, 3, Direction::ToLeft), (Cell{2, 1}));
  // Other rows do not count.
  EXPECT_EQ(End(3, 1, Direction::ToRight), (Cell{3, 16384}));
}

TEST_F(MemoryHostEndTest, FormatsAndCommentsAreNotContentButFormulasAre) {
  h.SetColorIndex(kS, Area::Of(5, 1, 8, 1), 6);
  h.AddComment(kS, Cell{9, 1}, "c");
  EXPECT_EQ(End(1, 1, Direction::Down), (Cell{1048576, 1}));
  h.SetFormula(kS, Cell{7, 1}, "=\"\"", Value::Text(""));
  EXPECT_EQ(End(1, 1, Direction::Down), (Cell{7, 1}));
}

TEST_F(MemoryHostEndTest, LongRunsAcrossManyChunks) {
  Matrix m(5000, 1);
  for (int r = 0; r < 5000; ++r) m.At(r, 0) = Value::Number(r);
  h.SetValues(kS, Cell{1, 1}, m);
  EXPECT_EQ(End(1, 1, Direction::Down), (Cell{5000, 1}));
  EXPECT_EQ(End(5000, 1, Direction::Up), (Cell{1, 1}));
  h.ClearContents(kS, Area::Of(Cell{3333, 1}));
  EXPECT_EQ(End(1, 1, Direction::Down), (Cell{3332, 1}));
  EXPECT_EQ(End(3332, 1, Direction::Down), (Cell{3334, 1}));
  EXPECT_EQ(End(5000, 1, Direction::Up), (Cell{3334, 1}));
}

TEST_F(MemoryHostEndTest, SmallSheetsEndAtTheirOwnEdges) {
  h.Settings().rows = 65536;
  h.Settings().cols = 256;
  h.AddWorkbook();
  EXPECT_EQ(h.End({2, 1}, Cell{1, 1}, Direction::Down), (Cell{65536, 1}));
  EXPECT_EQ(h.End({2, 1}, Cell{1, 1}, Direction::ToRight), (Cell{1, 256}));
  EXPECT_THROW(h.End({2, 1}, Cell{65537, 1}, Direction::Up), HostError);
}

}  // namespace
}  // namespace tezlo
