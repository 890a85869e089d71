// Slimming the active sheet, for the tools that need to know whether it finished.
#pragma once

#include "dispatch/context.h"

namespace tezlo {

// Does what SlimSheetToEnd does and returns true when every step ran: the sheet is trimmed, the
// active cell stands on the last topic word of the last used column block and the grid state
// describes its topic block. False when a step failed: what was done stays, the rest is skipped,
// screen updating and alerts are on again. A failure while reading the sheet's size (before any
// change) goes to the caller.
bool SlimActiveSheet(Context& ctx);

}  // namespace tezlo
