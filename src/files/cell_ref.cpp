#include "files/cell_ref.h"

#include <algorithm>

namespace tezlo {

namespace {

constexpr int32_t kMaxRow = 1048576;
constexpr int32_t kMaxCol = 16384;

}  // namespace

std::optional<Cell> ParseCellRef(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  int64_t col = 0;
  const size_t colStart = i;
  for (; i < text.size() && i - colStart < 3; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    col = col * 26 + (c - 'A' + 1);
  }
  if (i == colStart || col > kMaxCol) return std::nullopt;
  if (i < text.size() && text[i] == '$') ++i;
  int64_t row = 0;
  const size_t rowStart = i;
  for (; i < text.size() && i - rowStart < 7; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') break;
    row = row * 10 + (c - '0');
  }
  if (i == rowStart || i != text.size() || row < 1 || row > kMaxRow) return std::nullopt;
  return Cell{static_cast<int32_t>(row), static_cast<int32_t>(col)};
}

std::optional<Area> ParseAreaRef(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const auto c = ParseCellRef(text);
    if (!c) return std::nullopt;
    return Area::Of(*c);
  }
  const auto a = ParseCellRef(text.substr(0, colon));
  const auto b = ParseCellRef(text.substr(colon + 1));
  if (!a || !b) return std::nullopt;
  return Area::Of(std::min(a->row, b->row), std::min(a->col, b->col), std::max(a->row, b->row),
                  std::max(a->col, b->col));
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
