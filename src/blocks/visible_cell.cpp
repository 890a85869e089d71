// Jumping to a cell by its place in the window: "0CRR" is the C-th visible column and the RR-th
// visible row, "/xRR" the 10th visible column; a "." in fifth place then opens the cell for
// editing. The target becomes the active cell and the window's top-left cell.
//
// Resume-next: a failing step is skipped and the next one runs. A code whose row or column is not
// a number is refused outright, so no position left over from an earlier command is ever used.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/helpers.h"

namespace tezlo {
namespace {

// The "/" form names this column.
constexpr int32_t kSlashColumn = 10;

std::optional<int32_t> WholeNumberOrNothing(std::string_view text) {
  std::optional<int32_t> number;
  Step([&] { number = ToWholeNumber(text); });
  return number;
}

}  // namespace

void GoToVisibleCell(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  const std::string& code = ctx.funcCode;

  const std::optional<int32_t> rowNumber = WholeNumberOrNothing(Mid(code, 3, 2));
  std::optional<int32_t> colNumber;
  if (Left(code, 1) == "0") {
    colNumber = WholeNumberOrNothing(Mid(code, 2, 1));
  } else {
    colNumber = kSlashColumn;
  }
  if (!rowNumber || !colNumber) return;

  // Counted from the window's top-left cell; from A1 when the window cannot say.
  int32_t row = *rowNumber;
  int32_t col = *colNumber;
  Step([&] {
    const Cell topLeft = ctx.host.TopLeftVisibleCell();
    const int32_t shiftedRow = CheckedInt32(int64_t{topLeft.row} + row - 1);
    col = CheckedInt32(int64_t{topLeft.col} + col - 1);
    row = shiftedRow;
  });
  Step([&] { GoToCell(ctx, row, col); });
  if (Mid(code, 5, 1) == ".") {
    Step([&] { ctx.host.BeginEditing(); });
  }
}

}  // namespace tezlo
