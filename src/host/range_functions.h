// Pure helpers the spreadsheet offers on ranges and arrays.
#pragma once

#include <optional>
#include <variant>

#include "host/cell.h"
#include "host/matrix.h"
#include "host/value.h"

namespace tezlo {

// Application.Intersect of two areas: nothing when they do not overlap.
std::optional<Area> Intersect(const Area& a, const Area& b);

// WorksheetFunction.Transpose: rows become columns. A 1x1 block gives the single value itself,
// as the spreadsheet does, not a block.
std::variant<Value, Matrix> Transpose(const Matrix& m);

}  // namespace tezlo
