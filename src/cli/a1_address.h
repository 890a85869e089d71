// A1-style addresses on the command line and in the state line: "D66", "B2:D5", "A:C", "3:5".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/cell.h"
#include "memory/formula_refs.h"

namespace tezlo {

// The area a reference names, "$" allowed, letters in either case; whole columns and rows span
// the grid. Nothing for anything else, or a reference outside the grid.
std::optional<Area> ParseAreaAddress(std::string_view text, GridSize grid);

// "D66" for one cell, "F1:G2" for more.
std::string AreaAddress(const Area& area);
std::string CellAddress(Cell cell);

}  // namespace tezlo
