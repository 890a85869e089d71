// A1-style addresses, the one place they are read and written: cells ("B7", "$B$7"), areas
// ("A1:C3"), whole columns and rows ("A:C", "3:5") and column letters, as files, the command
// line, the screen and the spreadsheet's own API use them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/cell.h"
#include "host/grid_limits.h"

namespace tezlo {

// "XFD1048576" -> {1048576, 16384}; letters in either case, a "$" before either part allowed.
// Nothing for anything else, a zero row, or a cell outside `grid`.
std::optional<Cell> ParseCellRef(std::string_view text, GridSize grid = {});
// "A1:C3" or a single cell "B2" (an area of one cell); the corners in any order.
std::optional<Area> ParseAreaRef(std::string_view text, GridSize grid = {});
// As ParseAreaRef, and also whole columns ("A:C", "$B:$B") and whole rows ("3:5"), which span
// the grid.
std::optional<Area> ParseAreaAddress(std::string_view text, GridSize grid = {});

// 1 -> "A", 26 -> "Z", 27 -> "AA", 16384 -> "XFD".
void AppendColumnName(std::string& out, int32_t col);
std::string ColumnLetters(int32_t col);
void AppendCellRef(std::string& out, Cell cell);
std::string CellRefText(Cell cell);
// "B2" for one cell, "A1:C3" otherwise.
std::string AreaRefText(const Area& area);

}  // namespace tezlo
