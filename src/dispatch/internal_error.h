// A command stopped by a fault of ours: any exception other than a host's refusal. The user is
// told in a box that an internal error occurred and what it was; the front end finds it in the
// context (the batch runner ends with its own exit status). Nothing is undone: the workbook
// stays as the command left it, in the journal of the workbench or in the spreadsheet.
#pragma once

#include <string_view>

#include "dispatch/context.h"

namespace tezlo {

// The box's title.
inline constexpr std::string_view kInternalErrorTitle = "Tezlo: internal error";

// Records `what` in ctx.internalError and shows the box. Never throws: a box that fails to show
// leaves the record.
void ReportInternalError(Context& ctx, std::string_view what) noexcept;

}  // namespace tezlo
