// The anchors of a sheet's drawings, moved with the cells the sheet moved since it was read:
// pictures, charts and shapes of a drawing part (xl/drawings/drawingN.xml). The part is kept as
// the file had it; only the numbers of the anchors that change are rewritten, in place, so every
// other byte stays. A part, or an anchor, that cannot be read as one is left as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/formula_refs.h"
#include "memory/reference_shift.h"

namespace tezlo {

// A drawing part after `shifts`, in order: each xdr:twoCellAnchor (by its editAs),
// xdr:oneCellAnchor and xdr:absoluteAnchor moved by ShiftAnchor.
std::string ShiftDrawingPart(std::string xml, const std::vector<RefShift>& shifts);

// The anchors of a drawing part as they read, in file order; nothing for an anchor that cannot
// be read. For checks of what a part says.
std::vector<std::optional<DrawingAnchor>> DrawingPartAnchors(std::string_view xml);

}  // namespace tezlo
