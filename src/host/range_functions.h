// Pure helpers the spreadsheet offers on ranges and arrays.
#pragma once

#include <functional>
#include <optional>
#include <variant>

#include "host/cell.h"
#include "host/matrix.h"
#include "host/value.h"

namespace tezlo {

// Application.Intersect of two areas: nothing when they do not overlap.
std::optional<Area> Intersect(const Area& a, const Area& b);

// Range.Select's reading of a selection: each area with its corners in order (Range("B2:A1")
// names A1:B2) and checked by `check`, which throws HostError for an area off the sheet.
// HostError when there is no area or the active cell lies outside them all.
Selection OrderedSelection(const Selection& selection,
                           const std::function<void(const Area&)>& check);

// WorksheetFunction.Transpose: rows become columns. A 1x1 block gives the single value itself,
// as the spreadsheet does, not a block.
std::variant<Value, Matrix> Transpose(const Matrix& m);

}  // namespace tezlo
