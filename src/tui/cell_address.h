// Column letters and A1-style addresses as the grid and the status line show them.
#pragma once

#include <cstdint>
#include <string>

#include "host/cell.h"

namespace tezlo {

// 1 -> "A", 26 -> "Z", 27 -> "AA", 16384 -> "XFD".
std::string ColumnLetters(int32_t col);
// "B4".
std::string GridAddress(Cell cell);

}  // namespace tezlo
