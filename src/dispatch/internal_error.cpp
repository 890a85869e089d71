#include "dispatch/internal_error.h"

#include <string>

namespace tezlo {

void ReportInternalError(Context& ctx, std::string_view what) noexcept {
  try {
    ctx.internalError = std::string(what);
    MessageBoxRequest box;
    box.text = "An internal error stopped the command \"" + ctx.funcCode +
               "\": " + std::string(what) + "\nThe workbook is as the command left it.";
    box.title = std::string(kInternalErrorTitle);
    box.icon = Icon::Critical;
    ctx.ui.MessageBox(box);
  } catch (...) {
    // The box could not be shown (or memory ran out): the record, if made, is what is left.
  }
}

}  // namespace tezlo
