// The function-code dispatcher: from the code typed into the command box to one tool.
#pragma once

#include <string_view>

#include "dispatch/context.h"

namespace tezlo {

// The first row of `table` whose test holds for `code`; nullptr when none does.
const DispatchRow* MatchingRow(ToolTable table, std::string_view code);

// Runs the command in ctx.funcCode. After a pointer readout (flowFlag SkipNextOnce) it only
// sets flowFlag back to GoOn. Otherwise it prepares the workbook, stops when the preparation
// refused (flowFlag Stop), and runs the row of ctx.tools that matches the code, if any. Nothing
// escapes: a refused host call ends the step or the tool as its failure handling says, keeping
// what it had changed; any other exception is a fault of ours, reported as an internal error
// (internal_error.h) and kept in ctx.internalError until the next command.
void Dispatch(Context& ctx);

}  // namespace tezlo
