#include "host/range_functions.h"

#include <algorithm>

#include "host/host_error.h"

namespace tezlo {

std::optional<Area> Intersect(const Area& a, const Area& b) {
  const Area overlap{Cell{std::max(a.first.row, b.first.row), std::max(a.first.col, b.first.col)},
                     Cell{std::min(a.last.row, b.last.row), std::min(a.last.col, b.last.col)}};
  if (overlap.first.row > overlap.last.row || overlap.first.col > overlap.last.col) {
    return std::nullopt;
  }
  return overlap;
}

Selection OrderedSelection(const Selection& selection,
                           const std::function<void(const Area&)>& check) {
  if (selection.areas.empty()) throw HostError("nothing to select");
  Selection ordered;
  ordered.active = selection.active;
  bool activeInside = false;
  for (const Area& a : selection.areas) {
    const Area area =
        Area::Of(std::min(a.first.row, a.last.row), std::min(a.first.col, a.last.col),
                 std::max(a.first.row, a.last.row), std::max(a.first.col, a.last.col));
    check(area);
    activeInside = activeInside || area.Contains(selection.active);
    ordered.areas.push_back(area);
  }
  if (!activeInside) throw HostError("the active cell lies outside the selection");
  return ordered;
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
