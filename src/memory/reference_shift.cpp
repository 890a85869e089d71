#include "memory/reference_shift.h"

#include <algorithm>
#include <utility>

namespace tezlo {

namespace {

bool AlongRows(const RefShift& s) { return s.axis == RefShift::Axis::Rows; }
int32_t AlongMax(const RefShift& s) { return AlongRows(s) ? s.grid.rows : s.grid.cols; }
int32_t CrossMax(const RefShift& s) { return AlongRows(s) ? s.grid.cols : s.grid.rows; }
int32_t Last(const RefShift& s) { return s.first + s.count - 1; }

// An area seen along the shift's axis: a..b along it, c..d across it.
struct Oriented {
  int32_t a, b, c, d;
};

Oriented Orient(const Area& x, const RefShift& s) {
  if (AlongRows(s)) return {x.first.row, x.last.row, x.first.col, x.last.col};
  return {x.first.col, x.last.col, x.first.row, x.last.row};
}

Area Unorient(const Oriented& o, const RefShift& s) {
  if (AlongRows(s)) return Area::Of(o.a, o.c, o.b, o.d);
  return Area::Of(o.c, o.a, o.d, o.b);
}

bool Within(const Oriented& o, const RefShift& s) {
  return o.c >= s.bandFirst && o.d <= s.bandLast;
}

// Two areas that together make one rectangle, joined into `a`.
bool Join(Area& a, const Area& b) {
  const bool sameCols = a.first.col == b.first.col && a.last.col == b.last.col;
  const bool sameRows = a.first.row == b.first.row && a.last.row == b.last.row;
  if (sameCols && (b.first.row == a.last.row + 1 || a.first.row == b.last.row + 1)) {
    a = Area::Of(std::min(a.first.row, b.first.row), a.first.col, std::max(a.last.row, b.last.row),
                 a.last.col);
    return true;
  }
  if (sameRows && (b.first.col == a.last.col + 1 || a.first.col == b.last.col + 1)) {
    a = Area::Of(a.first.row, std::min(a.first.col, b.first.col), a.last.row,
                 std::max(a.last.col, b.last.col));
    return true;
  }
  return false;
}

void JoinAll(std::vector<Area>& areas) {
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < areas.size() && !joined; ++i) {
      for (size_t j = i + 1; j < areas.size(); ++j) {
        if (Join(areas[i], areas[j])) {
          areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(j));
          joined = true;
          break;
        }
      }
    }
  }
}

// One position along the axis, in the band: moved, or nothing when deleted or pushed off.
std::optional<int32_t> ShiftPosition(int32_t r, const RefShift& s) {
  if (r < s.first) return r;
  if (s.insert) {
    const int64_t moved = int64_t{r} + s.count;
    if (moved > AlongMax(s)) return std::nullopt;
    return static_cast<int32_t>(moved);
  }
  if (r <= Last(s)) return std::nullopt;
  return r - s.count;
}

bool InBand(int64_t cross, const RefShift& s) {
  return cross >= s.bandFirst && cross <= s.bandLast;
}

// A marker's position along the axis (1-based) and its offset, and across it.
struct MarkerView {
  int32_t* along;
  int64_t* offset;
  int64_t cross;
};

MarkerView View(AnchorMarker& m, const RefShift& s) {
  if (AlongRows(s)) return {&m.row, &m.rowOff, int64_t{m.col} + 1};
  return {&m.col, &m.colOff, int64_t{m.row} + 1};
}

// Moves a corner with its cell; one in deleted cells goes to the start of what follows them.
// Returns how far it moved along the axis.
int32_t ShiftMarker(AnchorMarker& m, const RefShift& s) {
  MarkerView v = View(m, s);
  // A corner outside the sheet (a damaged file) is left as it is.
  if (!InBand(v.cross, s) || *v.along < 0 || *v.along >= AlongMax(s)) return 0;
  const int32_t before = *v.along;
  const int32_t r = before + 1;
  if (s.insert) {
    if (r >= s.first) *v.along = std::min(r + s.count, AlongMax(s)) - 1;
  } else if (r > Last(s)) {
    *v.along = r - s.count - 1;
  } else if (r >= s.first) {
    *v.along = s.first - 1;
    *v.offset = 0;
  }
  return *v.along - before;
}

// Whether the corner's cell is among those the shift deletes.
bool InDeletedCells(AnchorMarker m, const RefShift& s) {
  const MarkerView v = View(m, s);
  const int64_t r = int64_t{*v.along} + 1;
  return !s.insert && InBand(v.cross, s) && r >= s.first && r <= Last(s);
}

bool Before(const AnchorMarker& x, const AnchorMarker& y, const RefShift& s) {
  if (AlongRows(s)) return x.row != y.row ? x.row < y.row : x.rowOff < y.rowOff;
  return x.col != y.col ? x.col < y.col : x.colOff < y.colOff;
}

}  // namespace

std::optional<Area> ShiftRange(const Area& area, const RefShift& shift) {
  FormulaRef ref;
  ref.kind = FormulaRef::Kind::Area;
  ref.first = RefEnd{area.first.row, area.first.col, false, false};
  ref.last = RefEnd{area.last.row, area.last.col, false, false};
  if (ShiftRef(ref, shift) == RefOutcome::Gone) return std::nullopt;
  return Area::Of(ref.first.row, ref.first.col, ref.last.row, ref.last.col);
}

std::vector<Area> ShiftArea(const Area& area, const RefShift& s) {
  const Oriented o = Orient(area, s);
  const int32_t p = s.first;
  const int32_t q = Last(s);
  const int32_t max = AlongMax(s);
  const int32_t bandC = std::max(o.c, s.bandFirst);
  const int32_t bandD = std::min(o.d, s.bandLast);
  std::vector<Area> out;
  if (s.insert) {
    if (Within(o, s) && !(o.a == 1 && o.b == max)) {
      // Moved when at or after the insertion; grown over new cells inside or right after it.
      const int64_t a = o.a >= p ? int64_t{o.a} + s.count : o.a;
      const int64_t b = o.b >= p - 1 ? int64_t{o.b} + s.count : o.b;
      if (a > max) return out;
      out.push_back(Unorient({static_cast<int32_t>(a),
                              static_cast<int32_t>(std::min<int64_t>(b, max)), o.c, o.d},
                             s));
      return out;
    }
    out.push_back(area);
    if (!Within(o, s) && o.b == p - 1 && bandC <= bandD) {
      out.push_back(Unorient({p, std::min(q, max), bandC, bandD}, s));
      JoinAll(out);
    }
    return out;
  }
  const bool losesCells = bandC <= bandD && o.a <= q && o.b >= p;
  if (!losesCells) {
    if (Within(o, s) && o.a > q) {
      out.push_back(Unorient({o.a - s.count, o.b - s.count, o.c, o.d}, s));
    } else {
      out.push_back(area);
    }
    return out;
  }
  // The part outside the band stays; the part in it loses the deleted cells and closes up.
  if (o.c < bandC) out.push_back(Unorient({o.a, o.b, o.c, bandC - 1}, s));
  // An area over the whole axis (A1:A1048576) stays whole, as a reference to it does.
  const bool whole = o.a == 1 && o.b == max;
  const int32_t a = whole || o.a < p ? o.a : (o.a <= q ? p : o.a - s.count);
  const int32_t b = whole || o.b < p ? o.b : (o.b <= q ? p - 1 : o.b - s.count);
  if (a <= b) out.push_back(Unorient({a, b, bandC, bandD}, s));
  if (o.d > bandD) out.push_back(Unorient({o.a, o.b, bandD + 1, o.d}, s));
  JoinAll(out);
  return out;
}

std::vector<Area> ShiftCellArea(const Area& area, const RefShift& s) {
  const Oriented o = Orient(area, s);
  const int32_t p = s.first;
  const int32_t max = AlongMax(s);
  const int32_t bandC = std::max(o.c, s.bandFirst);
  const int32_t bandD = std::min(o.d, s.bandLast);
  std::vector<Area> out;
  if (bandC > bandD || o.b < p - 1 || (o.a == 1 && o.b == max)) {
    out.push_back(area);  // no cell of it moves or takes new cells
    return out;
  }
  // The part outside the band stays; the part in it follows its cells.
  if (o.c < bandC) out.push_back(Unorient({o.a, o.b, o.c, bandC - 1}, s));
  int64_t a = o.a;
  int64_t b = o.b;
  if (s.insert) {
    // New cells take the attribute of the cell before them; at the first row, of the one after.
    // Cells inserted before column A take nothing: LibreOffice moves the validation right
    // (A10:A15 becomes B10:B15), as the comparison test found for whole columns and for cells.
    const bool takesFromAfter = p == 1 && o.a == 1 && s.axis == RefShift::Axis::Rows;
    if (o.a >= p && !takesFromAfter) a += s.count;
    b += s.count;  // b >= p - 1: the area reaches the new cells or lies after them
    b = std::min<int64_t>(b, max);
  } else {
    const int32_t q = Last(s);
    a = o.a < p ? o.a : (o.a <= q ? p : o.a - s.count);
    b = o.b < p ? o.b : (o.b <= q ? p - 1 : o.b - s.count);
  }
  if (a <= b && a <= max) {
    out.push_back(Unorient({static_cast<int32_t>(a), static_cast<int32_t>(b), bandC, bandD}, s));
  }
  if (o.d > bandD) out.push_back(Unorient({o.a, o.b, bandD + 1, o.d}, s));
  JoinAll(out);
  return out;
}

std::string ShiftSqref(std::string_view sqref, const RefShift& shift, SqrefRule rule) {
  std::vector<Area> areas;
  std::vector<std::string> kept;  // pieces that are not areas
  size_t i = 0;
  while (i < sqref.size()) {
    if (sqref[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = sqref.find(' ', i);
    if (end == std::string_view::npos) end = sqref.size();
    const std::string_view piece = sqref.substr(i, end - i);
    i = end;
    const std::vector<FormulaRef> refs = FindFormulaRefs(piece, shift.grid);
    const bool one =
        refs.size() == 1 && !refs[0].sheet && refs[0].begin == 0 && refs[0].end == piece.size();
    if (!one) {
      kept.emplace_back(piece);
      continue;
    }
    FormulaRef ref = refs[0];
    // Whole columns or rows span the grid.
    if (ref.kind == FormulaRef::Kind::Columns) {
      ref.first.row = 1;
      ref.last.row = shift.grid.rows;
    } else if (ref.kind == FormulaRef::Kind::Rows) {
      ref.first.col = 1;
      ref.last.col = shift.grid.cols;
    }
    const Area area =
        Area::Of(std::min(ref.first.row, ref.last.row), std::min(ref.first.col, ref.last.col),
                 std::max(ref.first.row, ref.last.row), std::max(ref.first.col, ref.last.col));
    const std::vector<Area> moved =
        rule == SqrefRule::ConditionalFormat ? ShiftArea(area, shift) : ShiftCellArea(area, shift);
    areas.insert(areas.end(), moved.begin(), moved.end());
  }
  std::string out;
  for (const Area& a : areas) {
    if (!out.empty()) out += ' ';
    FormulaRef ref;
    ref.kind = a.first == a.last ? FormulaRef::Kind::Cell : FormulaRef::Kind::Area;
    ref.first = RefEnd{a.first.row, a.first.col, false, false};
    ref.last = RefEnd{a.last.row, a.last.col, false, false};
    out += FormatRef(ref);
  }
  for (const std::string& piece : kept) {
    if (!out.empty()) out += ' ';
    out += piece;
  }
  return out;
}

std::optional<std::string> ShiftRangeFormula(std::string_view formula, Cell oldTopLeft,
                                             Cell newTopLeft, const RefShift& s) {
  auto onSheet = [&](Cell c) {
    return c.row >= 1 && c.row <= s.grid.rows && c.col >= 1 && c.col <= s.grid.cols;
  };
  if (!onSheet(oldTopLeft) || !onSheet(newTopLeft)) {
    return ShiftFormulaRefs(formula, true, s);  // a damaged range: no rebasing
  }
  // Where the new top-left cell was before the shift.
  Cell origin = newTopLeft;
  const int32_t cross = AlongRows(s) ? origin.col : origin.row;
  int32_t& along = AlongRows(s) ? origin.row : origin.col;
  if (InBand(cross, s) && along >= s.first) {
    if (!s.insert) {
      along += s.count;
    } else if (along > Last(s)) {
      along -= s.count;
    } else {
      along = std::max(s.first - 1, 1);
    }
  }
  const std::string rebased =
      MoveRelativeRefs(formula, origin.row - oldTopLeft.row, origin.col - oldTopLeft.col, s.grid)
          .value_or(std::string(formula));
  std::string out = ShiftFormulaRefs(rebased, true, s).value_or(rebased);
  if (out == formula) return std::nullopt;
  return out;
}

std::optional<Cell> ShiftCell(Cell cell, const RefShift& s) {
  const int32_t cross = AlongRows(s) ? cell.col : cell.row;
  if (!InBand(cross, s)) return cell;
  const std::optional<int32_t> along = ShiftPosition(AlongRows(s) ? cell.row : cell.col, s);
  if (!along) return std::nullopt;
  if (AlongRows(s)) return Cell{*along, cell.col};
  return Cell{cell.row, *along};
}

DrawingAnchor ShiftAnchor(const DrawingAnchor& anchor, const RefShift& s) {
  DrawingAnchor out = anchor;
  switch (anchor.mode) {
    case AnchorMode::Absolute: break;
    case AnchorMode::OneCell: {
      const int32_t moved = ShiftMarker(out.from, s);
      MarkerView to = View(out.to, s);
      *to.along = std::clamp(*to.along + moved, 0, AlongMax(s) - 1);
      break;
    }
    case AnchorMode::TwoCell: {
      const bool cut = InDeletedCells(out.from, s) || InDeletedCells(out.to, s);
      const bool moved = (ShiftMarker(out.from, s) | ShiftMarker(out.to, s)) != 0;
      // A corner moved past the other (the band holds one corner only).
      if (moved && Before(out.to, out.from, s)) {
        MarkerView to = View(out.to, s);
        MarkerView from = View(out.from, s);
        if (cut) {
          // Its cells went: no extent left.
          *to.along = *from.along;
          *to.offset = *from.offset;
        } else {
          // Carried by its cells: the corners change places along the axis.
          std::swap(*to.along, *from.along);
          std::swap(*to.offset, *from.offset);
        }
      }
      break;
    }
  }
  return out;
}

std::optional<int32_t> ShiftPageBreak(int32_t id, bool rowBreak, const RefShift& s) {
  const bool wholeLines = s.bandFirst <= 1 && s.bandLast >= CrossMax(s);
  if (rowBreak != AlongRows(s) || !wholeLines || id < 0 || id >= AlongMax(s)) return id;
  const std::optional<int32_t> moved = ShiftPosition(id + 1, s);
  if (!moved) return std::nullopt;
  return *moved - 1;
}

bool CutsThrough(const Area& area, const RefShift& s) {
  const Oriented o = Orient(area, s);
  const bool touched = o.b >= s.first && o.d >= s.bandFirst && o.c <= s.bandLast;
  return touched && !Within(o, s);
}

bool MovesPartOf(const Area& area, const RefShift& s) {
  if (CutsThrough(area, s)) return true;
  const Oriented o = Orient(area, s);
  if (o.d < s.bandFirst || o.c > s.bandLast || o.b < s.first) return false;
  if (s.insert) return o.a < s.first;
  const bool allDeleted = o.a >= s.first && o.b <= Last(s);
  const bool noneDeleted = o.a > Last(s);
  return !allDeleted && !noneDeleted;
}

}  // namespace tezlo
