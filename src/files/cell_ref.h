// A1-style cell and area references as the file format writes them ("B7", "A1:C3"; no "$").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/cell.h"

namespace tezlo {

// "XFD1048576" -> {1048576, 16384}. Nothing for anything else, a zero row or a column past
// 16384 or a row past 1048576 included. A leading "$" before either part is accepted.
std::optional<Cell> ParseCellRef(std::string_view text);
// "A1:C3" or a single cell "B2" (an area of one cell); the corners in any order.
std::optional<Area> ParseAreaRef(std::string_view text);

void AppendColumnName(std::string& out, int32_t col);
void AppendCellRef(std::string& out, Cell cell);
std::string CellRefText(Cell cell);
// "B2" for one cell, "A1:C3" otherwise.
std::string AreaRefText(const Area& area);

}  // namespace tezlo
