// A row-major block of values, as a range's Value reads and writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/value.h"

namespace tezlo {

class Matrix {
 public:
  Matrix() = default;
  Matrix(int32_t rows, int32_t cols)
      : rows_(rows), cols_(cols), cells_(static_cast<size_t>(rows) * static_cast<size_t>(cols)) {}

  int32_t Rows() const { return rows_; }
  int32_t Cols() const { return cols_; }
  bool Empty() const { return cells_.empty(); }

  // 0-based row and column.
  Value& At(int32_t r, int32_t c) { return cells_[Index(r, c)]; }
  const Value& At(int32_t r, int32_t c) const { return cells_[Index(r, c)]; }

  bool operator==(const Matrix&) const = default;

 private:
  size_t Index(int32_t r, int32_t c) const {
    return static_cast<size_t>(r) * static_cast<size_t>(cols_) + static_cast<size_t>(c);
  }
  int32_t rows_ = 0;
  int32_t cols_ = 0;
  std::vector<Value> cells_;
};

}  // namespace tezlo
