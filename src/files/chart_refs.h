// The data ranges of a chart part (xl/charts/chartN.xml), moved with the cells they name. A chart
// holds each series' values, categories and title as a formula in an f element (c:f, and c15:f,
// cx:f in the newer kinds), beside cached values the spreadsheet refreshes on opening. The part is
// kept as the file had it; only the text of the formulas that change is rewritten, so every other
// byte stays. A part whose tags do not nest, or a formula that is not plain text, is left as it
// was.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/formula_refs.h"

namespace tezlo {

// What happened to one sheet since the workbook was read, as the charts see it: the name the
// file gave it (the one chart formulas use), its name now, and the cells moved on it, in order.
struct SheetMoves {
  std::string readName;
  std::string name;
  const std::vector<RefShift>* shifts = nullptr;  // may be null: none
};

// A chart formula after the sheets' renames and moves: each reference naming a sheet by its read
// name names it by its name now, then each sheet's references follow its shifts as a formula's do
// (every reference of a chart names its sheet; a reference to sheet S moves by S's shifts only).
// A reference whose cells were all deleted becomes #REF! behind its sheet's name. Renames are
// applied all at once, so sheets that swapped names swap in the formula too. Nothing when the
// formula reads the same.
std::optional<std::string> MoveChartFormula(std::string_view formula,
                                            const std::vector<SheetMoves>& sheets, GridSize grid);

// Moves one formula's text: the new text, or nothing when it stays.
using FormulaMove = std::function<std::optional<std::string>(std::string_view)>;

// The chart part with the text of each f element replaced by what `move` makes of it (the text is
// read with its entities and _xHHHH_ escapes and written back escaped); every other byte as it was.
std::string ShiftChartPart(std::string xml, const FormulaMove& move);

// The formulas of a chart part, as they read, in file order; nothing when the part's tags do not
// nest. For checks of what a part says.
std::optional<std::vector<std::string>> ChartPartFormulas(std::string_view xml);

}  // namespace tezlo
