#include "host/range_functions.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

TEST(Intersect, Overlaps) {
  EXPECT_EQ(Intersect(Area::Of(1, 1, 10, 10), Area::Of(5, 5, 20, 20)), Area::Of(5, 5, 10, 10));
  EXPECT_EQ(Intersect(Area::Of(5, 5, 20, 20), Area::Of(1, 1, 10, 10)), Area::Of(5, 5, 10, 10));
  EXPECT_EQ(Intersect(Area::Of(1, 1, 100, 100), Area::Of(3, 4, 5, 6)), Area::Of(3, 4, 5, 6));
  EXPECT_EQ(Intersect(Area::Of(1, 3, 9, 3), Area::Of(4, 1, 4, 9)), Area::Of(Cell{4, 3}));
  // Sharing only an edge cell still overlaps.
  EXPECT_EQ(Intersect(Area::Of(1, 1, 5, 5), Area::Of(5, 5, 9, 9)), Area::Of(Cell{5, 5}));
}

TEST(Intersect, Disjoint) {
  EXPECT_FALSE(Intersect(Area::Of(1, 1, 5, 5), Area::Of(6, 1, 9, 5)).has_value());
  EXPECT_FALSE(Intersect(Area::Of(1, 1, 5, 5), Area::Of(1, 6, 5, 9)).has_value());
  EXPECT_FALSE(Intersect(Area::Of(1, 1, 5, 5), Area::Of(6, 6, 9, 9)).has_value());
  // Overlapping rows but not columns.
  EXPECT_FALSE(Intersect(Area::Of(1, 1, 9, 2), Area::Of(3, 3, 4, 4)).has_value());
}

TEST(Transpose, RowsBecomeColumns) {
  Matrix m(2, 3);
  for (int32_t r = 0; r < 2; ++r) {
    for (int32_t c = 0; c < 3; ++c) m.At(r, c) = Value::Number(10 * r + c);
  }
  const auto result = Transpose(m);
  ASSERT_TRUE(std::holds_alternative<Matrix>(result));
  const Matrix& t = std::get<Matrix>(result);
  ASSERT_EQ(t.Rows(), 3);
  ASSERT_EQ(t.Cols(), 2);
  for (int32_t r = 0; r < 2; ++r) {
    for (int32_t c = 0; c < 3; ++c) EXPECT_EQ(t.At(c, r), m.At(r, c));
  }
  EXPECT_EQ(std::get<Matrix>(Transpose(t)), m);
}

TEST(Transpose, ColumnBecomesRowAndKindsSurvive) {
  Matrix column(3, 1);
  column.At(0, 0) = Value::Text("身份证");
  column.At(2, 0) = Value::Error(ErrorCode::NA);
  const Matrix row = std::get<Matrix>(Transpose(column));
  ASSERT_EQ(row.Rows(), 1);
  ASSERT_EQ(row.Cols(), 3);
  EXPECT_EQ(row.At(0, 0), Value::Text("身份证"));
  EXPECT_TRUE(row.At(0, 1).IsEmpty());
  EXPECT_EQ(row.At(0, 2), Value::Error(ErrorCode::NA));
}

TEST(Transpose, SingleCellGivesItsValue) {
  Matrix one(1, 1);
  one.At(0, 0) = Value::Number(42);
  const auto result = Transpose(one);
  ASSERT_TRUE(std::holds_alternative<Value>(result));
  EXPECT_EQ(std::get<Value>(result), Value::Number(42));
}

TEST(Transpose, EmptyStaysEmpty) {
  const auto result = Transpose(Matrix());
  ASSERT_TRUE(std::holds_alternative<Matrix>(result));
  EXPECT_TRUE(std::get<Matrix>(result).Empty());
}

}  // namespace
}  // namespace tezlo
