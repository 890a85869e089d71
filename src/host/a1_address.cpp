#include "host/a1_address.h"

#include <algorithm>

namespace tezlo {

namespace {

// Reads column letters at `i` (at most three, either case); 0 when there are none.
int64_t ReadColumn(std::string_view text, size_t& i) {
  int64_t col = 0;
  const size_t start = i;
  for (; i < text.size() && i - start < 3; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    col = col * 26 + (c - 'A' + 1);
  }
  return col;
}

// Reads a row number at `i` (at most seven digits); 0 when there is none.
int64_t ReadRow(std::string_view text, size_t& i) {
  int64_t row = 0;
  const size_t start = i;
  for (; i < text.size() && i - start < 7; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') break;
    row = row * 10 + (c - '0');
  }
  return row;
}

Area Corners(int32_t row1, int32_t col1, int32_t row2, int32_t col2) {
  return Area::Of(std::min(row1, row2), std::min(col1, col2), std::max(row1, row2),
                  std::max(col1, col2));
}

// "C" or "$C" alone: a whole column's letters; 0 for anything else.
int32_t WholeColumn(std::string_view text, GridSize grid) {
  size_t i = text.starts_with('$') ? 1 : 0;
  const int64_t col = ReadColumn(text, i);
  return i == text.size() && col >= 1 && col <= grid.cols ? static_cast<int32_t>(col) : 0;
}

// "5" or "$5" alone: a whole row's number; 0 for anything else.
int32_t WholeRow(std::string_view text, GridSize grid) {
  size_t i = text.starts_with('$') ? 1 : 0;
  const int64_t row = ReadRow(text, i);
  return i == text.size() && row >= 1 && row <= grid.rows ? static_cast<int32_t>(row) : 0;
}

}  // namespace

std::optional<Cell> ParseCellRef(std::string_view text, GridSize grid) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  const size_t colStart = i;
  const int64_t col = ReadColumn(text, i);
  if (i == colStart || col > grid.cols) return std::nullopt;
  if (i < text.size() && text[i] == '$') ++i;
  const size_t rowStart = i;
  const int64_t row = ReadRow(text, i);
  if (i == rowStart || i != text.size() || row < 1 || row > grid.rows) return std::nullopt;
  return Cell{static_cast<int32_t>(row), static_cast<int32_t>(col)};
}

std::optional<Area> ParseAreaRef(std::string_view text, GridSize grid) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const auto c = ParseCellRef(text, grid);
    if (!c) return std::nullopt;
    return Area::Of(*c);
  }
  const auto a = ParseCellRef(text.substr(0, colon), grid);
  const auto b = ParseCellRef(text.substr(colon + 1), grid);
  if (!a || !b) return std::nullopt;
  return Corners(a->row, a->col, b->row, b->col);
}

std::optional<Area> ParseAreaAddress(std::string_view text, GridSize grid) {
  if (const auto area = ParseAreaRef(text, grid)) return area;
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view first = text.substr(0, colon);
  const std::string_view last = text.substr(colon + 1);
  if (const int32_t a = WholeColumn(first, grid), b = WholeColumn(last, grid); a != 0 && b != 0) {
    return Corners(1, a, grid.rows, b);
  }
  if (const int32_t a = WholeRow(first, grid), b = WholeRow(last, grid); a != 0 && b != 0) {
    return Corners(a, 1, b, grid.cols);
  }
  return std::nullopt;
}

void AppendColumnName(std::string& out, int32_t col) {
  char letters[8];
  int n = 0;
  while (col > 0 && n < 8) {
    const int32_t rem = (col - 1) % 26;
    letters[n++] = static_cast<char>('A' + rem);
    col = (col - 1) / 26;
  }
  while (n > 0) out += letters[--n];
}

std::string ColumnLetters(int32_t col) {
  std::string s;
  AppendColumnName(s, col);
  return s;
}

void AppendCellRef(std::string& out, Cell cell) {
  AppendColumnName(out, cell.col);
  out += std::to_string(cell.row);
}

std::string CellRefText(Cell cell) {
  std::string s;
  AppendCellRef(s, cell);
  return s;
}

std::string AreaRefText(const Area& area) {
  std::string s = CellRefText(area.first);
  if (area.last != area.first) {
    s += ':';
    AppendCellRef(s, area.last);
  }
  return s;
}

}  // namespace tezlo
