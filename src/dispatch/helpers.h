// Small worksheet procedures several tools share. All work on the active sheet.
#pragma once

#include <cstdint>
#include <string>

#include "dispatch/context.h"

namespace tezlo {

// The row that End(xlUp) / End(xlDown) reaches from (row, col). Failures go to the caller.
int32_t EndUpRow(Context& ctx, int32_t row, int32_t col);
int32_t EndDownRow(Context& ctx, int32_t row, int32_t col);

// An OK-only notice with the information icon and the title "Tip". Failures go to the caller.
void ShowTip(Context& ctx, const std::string& text);

// Clamps row and col to at least 1 (writing the clamped values back), scrolls the window so
// that the cell is its top-left visible cell (row first, then column) and activates the cell.
// Failures, such as a row beyond the sheet, go to the caller.
void GoToCell(Context& ctx, int32_t& row, int32_t& col);
// The same for a fixed address, when the caller has no variables to write back into.
void GoToCell(Context& ctx, Cell cell);
// Goes to A1 that way: what the empty code does.
void GoToTopLeft(Context& ctx);

// Replaces the comment of (row, col) by one holding `text`: clear, add an empty comment, set its
// text. Each of the three steps is skipped when it fails; nothing is reported.
void SetCellNote(Context& ctx, int32_t row, int32_t col, const std::string& text);

}  // namespace tezlo
