#include "host/range_functions.h"

#include <algorithm>

namespace tezlo {

std::optional<Area> Intersect(const Area& a, const Area& b) {
  const Area overlap{Cell{std::max(a.first.row, b.first.row), std::max(a.first.col, b.first.col)},
                     Cell{std::min(a.last.row, b.last.row), std::min(a.last.col, b.last.col)}};
  if (overlap.first.row > overlap.last.row || overlap.first.col > overlap.last.col) {
    return std::nullopt;
  }
  return overlap;
}

std::variant<Value, Matrix> Transpose(const Matrix& m) {
  if (m.Rows() == 1 && m.Cols() == 1) return m.At(0, 0);
  Matrix out(m.Cols(), m.Rows());
  for (int32_t r = 0; r < m.Rows(); ++r) {
    for (int32_t c = 0; c < m.Cols(); ++c) out.At(c, r) = m.At(r, c);
  }
  return out;
}

}  // namespace tezlo
