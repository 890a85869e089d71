#include "tui/cell_address.h"

#include <algorithm>

namespace tezlo {

std::string ColumnLetters(int32_t col) {
  std::string out;
  for (int32_t n = col; n > 0; n = (n - 1) / 26) out += static_cast<char>('A' + (n - 1) % 26);
  std::reverse(out.begin(), out.end());
  return out;
}

std::string GridAddress(Cell cell) { return ColumnLetters(cell.col) + std::to_string(cell.row); }

}  // namespace tezlo
