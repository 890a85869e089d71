// The references inside kept worksheet XML, moved with the cells the sheet moved since it was
// read: conditional formats (their ranges and rule formulas), data validation (ranges and
// formulas), hyperlinks, the autofilter, page breaks, and the ranges of the conditional formats and
// validations kept in the sheet's extension list. What refers only to deleted cells goes.
//
// The XML is the file's own bytes (see kept_content.h); only the attribute values and formula
// texts that hold references are replaced, everything else stays as it was written.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/raw_tag.h"
#include "host/cell.h"
#include "memory/formula_refs.h"

namespace tezlo {

// The element `xml` (a child of the worksheet root with local name `name`) after `shifts`, in
// order; empty when nothing of it is left (a conditional format whose cells were all deleted).
// Elements that hold no references come back unchanged.
std::string ShiftKeptElement(std::string_view name, std::string xml,
                             const std::vector<RefShift>& shifts);

// The defined names of a kept definedNames element (print areas and titles, filter ranges, the
// user's names) with each name's formula made what `move` makes of it (nothing: it stays): the
// package builder moves them as it moves chart formulas (MoveChartFormula), after the sheets'
// renames and moved cells. An empty `move` changes nothing.
std::string MoveDefinedNames(
    std::string xml, const std::function<std::optional<std::string>(std::string_view)>& move);

// A table part (its range and its autofilter's) or a pivot table part (its location) after the
// shifts of the sheet it stands on. A range whose cells all went stays as it was (the engine
// refuses every shift that would cut through one).
std::string ShiftTablePart(std::string xml, const std::vector<RefShift>& shifts);

// Where a table part (or pivot table part) says it stands: its name and range; nothing for
// bytes that are not one.
std::optional<std::pair<std::string, Area>> TablePartRange(std::string_view xml);

// Row attributes move with whole rows; cell attributes with their cells (those of deleted cells
// go).
std::map<int32_t, std::vector<RawAttr>> ShiftRowAttrs(std::map<int32_t, std::vector<RawAttr>> rows,
                                                      const std::vector<RefShift>& shifts);
std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> ShiftCellAttrs(
    std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> cells,
    const std::vector<RefShift>& shifts);

}  // namespace tezlo
