#include "memory/formula_refs.h"

#include <algorithm>
#include <utility>

#include "host/a1_address.h"
#include "memory/other_workbook_refs.h"
#include "text/ascii.h"
#include "text/case_fold.h"

namespace tezlo {

namespace {

// Bytes a name, a number or an unquoted reference is made of; any byte of a UTF-8 sequence
// counts, so that unquoted Chinese sheet names read as one word.
bool IsWordByte(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.' || c == '$' || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
}

size_t WordEnd(std::string_view f, size_t i) {
  while (i < f.size() && IsWordByte(f[i])) ++i;
  return i;
}

// One word read as a piece of a reference: a cell (A1, $B$2), a column (A, $C) or a row (3, $5).
struct Piece {
  enum class Kind { Cell, Col, Row };
  Kind kind;
  RefEnd end;
};

std::optional<Piece> ReadPiece(std::string_view w, GridSize grid) {
  size_t i = 0;
  bool firstDollar = false;
  if (i < w.size() && w[i] == '$') {
    firstDollar = true;
    ++i;
  }
  int64_t col = 0;
  size_t letters = 0;
  while (i < w.size() && IsAsciiLetter(w[i])) {
    if (++letters > 3) return std::nullopt;
    const char up = AsciiUpper(w[i]);
    col = col * 26 + (up - 'A' + 1);
    ++i;
  }
  bool rowDollar = false;
  if (letters > 0 && i < w.size() && w[i] == '$') {
    rowDollar = true;
    ++i;
  }
  int64_t row = 0;
  size_t digits = 0;
  while (i < w.size() && IsAsciiDigit(w[i])) {
    if (++digits > 8) return std::nullopt;
    row = row * 10 + (w[i] - '0');
    ++i;
  }
  if (i != w.size()) return std::nullopt;
  if (col > grid.cols || (digits > 0 && (row < 1 || row > grid.rows))) return std::nullopt;
  RefEnd end;
  if (letters > 0 && digits > 0) {
    end.col = static_cast<int32_t>(col);
    end.row = static_cast<int32_t>(row);
    end.absCol = firstDollar;
    end.absRow = rowDollar;
    return Piece{Piece::Kind::Cell, end};
  }
  if (letters > 0 && !rowDollar) {
    end.col = static_cast<int32_t>(col);
    end.absCol = firstDollar;
    return Piece{Piece::Kind::Col, end};
  }
  if (letters == 0 && digits > 0) {
    end.row = static_cast<int32_t>(row);
    end.absRow = firstDollar;
    return Piece{Piece::Kind::Row, end};
  }
  return std::nullopt;
}

class Lexer {
 public:
  Lexer(std::string_view f, GridSize grid) : f_(f), grid_(grid) {}

  std::vector<FormulaRef> Run() {
    size_t i = 0;
    while (i < f_.size()) {
      const char c = f_[i];
      if (c == '"') {
        i = SkipQuoted(i, '"');
      } else if (c == '[') {
        i = SkipBrackets(i);
      } else if (c == '\'') {
        i = QuotedPrefix(i);
      } else if (c == '#') {
        i = SkipErrorLiteral(i);
      } else if (IsWordByte(c)) {
        i = Word(i);
      } else {
        ++i;
      }
    }
    return std::move(refs_);
  }

 private:
  char At(size_t i) const { return i < f_.size() ? f_[i] : '\0'; }

  // Past a text in `quote`s, where a doubled quote stands for one.
  size_t SkipQuoted(size_t i, char quote) const {
    ++i;
    while (i < f_.size()) {
      if (f_[i] == quote) {
        if (At(i + 1) == quote) {
          i += 2;
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return i;
  }

  size_t SkipBrackets(size_t i) const {
    int depth = 0;
    for (; i < f_.size(); ++i) {
      if (f_[i] == '[') ++depth;
      if (f_[i] == ']' && --depth == 0) return i + 1;
    }
    return i;
  }

  // #REF!, #DIV/0!, #N/A, #NAME? and the like.
  size_t SkipErrorLiteral(size_t i) const {
    ++i;
    while (i < f_.size() &&
           (IsAsciiLetter(f_[i]) || IsAsciiDigit(f_[i]) || f_[i] == '/' || f_[i] == '_')) {
      ++i;
    }
    if (At(i) == '!' || At(i) == '?') ++i;
    return i;
  }

  // 'Sheet name'!ref: the name unquoted; a quoted text not followed by "!" is skipped.
  size_t QuotedPrefix(size_t i) {
    const size_t close = SkipQuoted(i, '\'');
    if (At(close) != '!' || close - i < 2) return close;
    std::string name;
    for (size_t k = i + 1; k + 1 < close; ++k) {
      name.push_back(f_[k]);
      if (f_[k] == '\'') ++k;  // '' stands for one quote
    }
    const bool external = (i > 0 && f_[i - 1] == ']') || name.find(']') != std::string::npos;
    return RefAfterPrefix(i, close + 1, std::move(name), external);
  }

  size_t Word(size_t i) {
    const size_t end = WordEnd(f_, i);
    if (At(end) == '(') return end + 1;  // a function call
    if (At(end) == '!') {
      const bool external = i > 0 && f_[i - 1] == ']';
      return RefAfterPrefix(i, end + 1, std::string(f_.substr(i, end - i)), external);
    }
    // Sheet1:Sheet3!A1 spans several sheets.
    if (At(end) == ':' && end + 1 < f_.size() && IsWordByte(f_[end + 1])) {
      const size_t end2 = WordEnd(f_, end + 1);
      if (At(end2) == '!') {
        return RefAfterPrefix(i, end2 + 1, std::string(f_.substr(i, end2 - i)), true);
      }
    }
    const size_t after = Ref(i, i, std::nullopt, false);
    return after != 0 ? after : end;
  }

  size_t RefAfterPrefix(size_t prefixBegin, size_t i, std::string sheet, bool foreign) {
    if (i >= f_.size() || !IsWordByte(f_[i])) return i;
    const size_t after = Ref(prefixBegin, i, std::move(sheet), foreign);
    return after != 0 ? after : WordEnd(f_, i);
  }

  // Reads a reference starting at `i`; returns the index past it, or 0 when there is none.
  size_t Ref(size_t prefixBegin, size_t i, std::optional<std::string> sheet, bool foreign) {
    const size_t end1 = WordEnd(f_, i);
    const std::optional<Piece> p1 = ReadPiece(f_.substr(i, end1 - i), grid_);
    if (!p1) return 0;
    FormulaRef ref;
    ref.sheet = std::move(sheet);
    ref.foreign = foreign;
    ref.prefixBegin = prefixBegin;
    ref.begin = i;
    ref.end = end1;
    ref.first = ref.last = p1->end;
    bool joined = false;
    if (At(end1) == ':' && end1 + 1 < f_.size() && IsWordByte(f_[end1 + 1])) {
      const size_t end2 = WordEnd(f_, end1 + 1);
      const std::optional<Piece> p2 = ReadPiece(f_.substr(end1 + 1, end2 - end1 - 1), grid_);
      if (p2 && p2->kind == p1->kind && At(end2) != '(' && At(end2) != '!') {
        ref.last = p2->end;
        ref.end = end2;
        joined = true;
      }
    }
    switch (p1->kind) {
      case Piece::Kind::Cell:
        ref.kind = joined ? FormulaRef::Kind::Area : FormulaRef::Kind::Cell;
        break;
      case Piece::Kind::Col: ref.kind = FormulaRef::Kind::Columns; break;
      case Piece::Kind::Row: ref.kind = FormulaRef::Kind::Rows; break;
    }
    // A lone column or row word is a name or a number.
    if (!joined && ref.kind != FormulaRef::Kind::Cell) return 0;
    refs_.push_back(std::move(ref));
    return refs_.back().end;
  }

  std::string_view f_;
  GridSize grid_;
  std::vector<FormulaRef> refs_;
};

std::string FormatEnd(const RefEnd& e) {
  std::string s;
  if (e.col > 0) {
    if (e.absCol) s += '$';
    AppendColumnName(s, e.col);
  }
  if (e.row > 0) {
    if (e.absRow) s += '$';
    s += std::to_string(e.row);
  }
  return s;
}

// Moves the span a..b along the shifted axis. `max` is the axis's last position.
RefOutcome ShiftSpan(int32_t& a, int32_t& b, bool single, const RefShift& s, int32_t max) {
  const int64_t p = s.first;
  const int64_t n = s.count;
  const int64_t q = p + n - 1;
  if (!s.insert && a >= p && b <= q) return RefOutcome::Gone;
  // A range over the whole axis stays whole (A1:A1048576 is column A).
  if (!single && a == 1 && b == max) return RefOutcome::Same;
  int64_t na = a;
  int64_t nb = b;
  if (s.insert) {
    if (na >= p) na += n;
    if (nb >= p) nb += n;
    if (na > max) return RefOutcome::Gone;
    nb = std::min<int64_t>(nb, max);
  } else {
    na = na < p ? na : (na <= q ? p : na - n);
    nb = nb < p ? nb : (nb <= q ? p - 1 : nb - n);
  }
  if (na == a && nb == b) return RefOutcome::Same;
  a = static_cast<int32_t>(na);
  b = static_cast<int32_t>(nb);
  return RefOutcome::Moved;
}

// Puts the ends of a reference in order along rows and columns, each end keeping its "$".
void Normalize(FormulaRef& ref) {
  if (ref.first.row > ref.last.row) {
    std::swap(ref.first.row, ref.last.row);
    std::swap(ref.first.absRow, ref.last.absRow);
  }
  if (ref.first.col > ref.last.col) {
    std::swap(ref.first.col, ref.last.col);
    std::swap(ref.first.absCol, ref.last.absCol);
  }
}

}  // namespace

RefOutcome ShiftRef(FormulaRef& ref, const RefShift& s) {
  const bool alongRows = s.axis == RefShift::Axis::Rows;
  if (ref.kind == FormulaRef::Kind::Columns && alongRows) return RefOutcome::Same;
  if (ref.kind == FormulaRef::Kind::Rows && !alongRows) return RefOutcome::Same;
  Normalize(ref);
  int32_t crossFirst = 1;
  int32_t crossLast = 1;
  if (ref.kind == FormulaRef::Kind::Columns) {
    crossLast = s.grid.rows;
  } else if (ref.kind == FormulaRef::Kind::Rows) {
    crossLast = s.grid.cols;
  } else {
    crossFirst = alongRows ? ref.first.col : ref.first.row;
    crossLast = alongRows ? ref.last.col : ref.last.row;
  }
  // Only references lying wholly inside the band move; one straddling its edge stays as it is.
  if (crossFirst < s.bandFirst || crossLast > s.bandLast) return RefOutcome::Same;
  int32_t& a = alongRows ? ref.first.row : ref.first.col;
  int32_t& b = alongRows ? ref.last.row : ref.last.col;
  return ShiftSpan(a, b, ref.kind == FormulaRef::Kind::Cell, s,
                   alongRows ? s.grid.rows : s.grid.cols);
}

std::vector<FormulaRef> FindFormulaRefs(std::string_view formula, GridSize grid) {
  return Lexer(formula, grid).Run();
}

std::string FormatRef(const FormulaRef& ref) {
  if (ref.kind == FormulaRef::Kind::Cell) return FormatEnd(ref.first);
  return FormatEnd(ref.first) + ":" + FormatEnd(ref.last);
}

RefShift InsertDownShift(std::string sheetName, GridSize grid, int32_t row1, int32_t col1,
                         int32_t row2, int32_t col2) {
  return RefShift{RefShift::Axis::Rows, true, row1, row2 - row1 + 1, col1, col2,
                  std::move(sheetName), grid};
}

RefShift DeleteUpShift(std::string sheetName, GridSize grid, int32_t row1, int32_t col1,
                       int32_t row2, int32_t col2) {
  return RefShift{RefShift::Axis::Rows, false, row1, row2 - row1 + 1, col1, col2,
                  std::move(sheetName), grid};
}

RefShift DeleteRowsShift(std::string sheetName, GridSize grid, int32_t first, int32_t last) {
  return RefShift{RefShift::Axis::Rows, false, first, last - first + 1, 1, grid.cols,
                  std::move(sheetName), grid};
}

RefShift DeleteColumnsShift(std::string sheetName, GridSize grid, int32_t first, int32_t last) {
  return RefShift{RefShift::Axis::Cols, false, first, last - first + 1, 1, grid.rows,
                  std::move(sheetName), grid};
}

std::optional<std::string> ShiftFormulaRefs(std::string_view formula, bool onShiftedSheet,
                                            const RefShift& shift) {
  std::string out;
  size_t copied = 0;
  bool changed = false;
  for (FormulaRef& ref : FindFormulaRefs(formula, shift.grid)) {
    if (ref.foreign) continue;
    const bool here = ref.sheet ? EqualsIgnoringCase(*ref.sheet, shift.sheetName) : onShiftedSheet;
    if (!here) continue;
    const RefOutcome outcome = ShiftRef(ref, shift);
    if (outcome == RefOutcome::Same) continue;
    out.append(formula.substr(copied, ref.begin - copied));
    out += outcome == RefOutcome::Gone ? "#REF!" : FormatRef(ref);
    copied = ref.end;
    changed = true;
  }
  if (!changed) return std::nullopt;
  out.append(formula.substr(copied));
  return out;
}

namespace {

bool NeedsQuotes(std::string_view sheet) {
  if (sheet.empty() || IsAsciiDigit(sheet[0]) || sheet[0] == '.') return true;
  for (char c : sheet) {
    if (!IsWordByte(c) || c == '$' || c == '\\') return true;
  }
  // A1, XFD7 or R1C1, RC, R, C5: a reference, not a name.
  if (const std::optional<Piece> p = ReadPiece(sheet, GridSize{});
      p && p->kind == Piece::Kind::Cell) {
    return true;
  }
  size_t i = 0;
  auto digits = [&] {
    while (i < sheet.size() && IsAsciiDigit(sheet[i])) ++i;
  };
  if (AsciiLower(sheet[i]) == 'r') {
    ++i;
    digits();
  }
  if (i < sheet.size() && AsciiLower(sheet[i]) == 'c') {
    ++i;
    digits();
  }
  return i == sheet.size();
}

std::string Quoted(std::string_view sheet) {
  std::string out = "'";
  for (char c : sheet) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// Moves one end's relative parts; false when it leaves the grid.
bool MoveEnd(RefEnd& e, int32_t rows, int32_t cols, GridSize grid) {
  if (e.row > 0 && !e.absRow) {
    const int64_t r = int64_t{e.row} + rows;
    if (r < 1 || r > grid.rows) return false;
    e.row = static_cast<int32_t>(r);
  }
  if (e.col > 0 && !e.absCol) {
    const int64_t c = int64_t{e.col} + cols;
    if (c < 1 || c > grid.cols) return false;
    e.col = static_cast<int32_t>(c);
  }
  return true;
}

}  // namespace

std::string SheetPrefix(std::string_view sheet) {
  return (NeedsQuotes(sheet) ? Quoted(sheet) : std::string(sheet)) + "!";
}

std::optional<std::string> RenameSheetRefs(std::string_view formula, std::string_view oldName,
                                           std::string_view newName, GridSize grid) {
  const std::string from(oldName);
  std::string out;
  size_t copied = 0;
  bool changed = false;
  for (const FormulaRef& ref : FindFormulaRefs(formula, grid)) {
    if (!ref.sheet || RefersToOtherWorkbook(formula, ref)) continue;
    // A span of sheets (Sheet1:Sheet3) renames either end.
    const std::string& sheet = *ref.sheet;
    const size_t colon = sheet.find(':');
    std::string first = sheet.substr(0, colon);
    std::string last = colon == std::string::npos ? std::string() : sheet.substr(colon + 1);
    bool renamed = false;
    if (EqualsIgnoringCase(first, from)) {
      first = newName;
      renamed = true;
    }
    if (colon != std::string::npos && EqualsIgnoringCase(last, from)) {
      last = newName;
      renamed = true;
    }
    if (!renamed) continue;
    std::string prefix;
    if (colon == std::string::npos) {
      prefix = SheetPrefix(first);
    } else {
      const std::string span = first + ":" + last;
      prefix = (NeedsQuotes(first) || NeedsQuotes(last) ? Quoted(span) : span) + "!";
    }
    out.append(formula.substr(copied, ref.prefixBegin - copied));
    out += prefix;
    copied = ref.begin;
    changed = true;
  }
  if (!changed) return std::nullopt;
  out.append(formula.substr(copied));
  return out;
}

std::optional<std::string> MoveRelativeRefs(std::string_view formula, int32_t rows, int32_t cols,
                                            GridSize grid) {
  if (rows == 0 && cols == 0) return std::nullopt;
  std::string out;
  size_t copied = 0;
  bool changed = false;
  for (FormulaRef& ref : FindFormulaRefs(formula, grid)) {
    const FormulaRef before = ref;
    const bool kept = MoveEnd(ref.first, rows, cols, grid) && MoveEnd(ref.last, rows, cols, grid);
    if (kept && ref.first == before.first && ref.last == before.last) continue;
    out.append(formula.substr(copied, ref.begin - copied));
    out += kept ? FormatRef(ref) : "#REF!";
    copied = ref.end;
    changed = true;
  }
  if (!changed) return std::nullopt;
  out.append(formula.substr(copied));
  return out;
}

}  // namespace tezlo
