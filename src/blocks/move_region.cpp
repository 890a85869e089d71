// Moving the current region behind the last region of the sheet: its values are written 10 rows
// below the last region of the last used column block (or at the top of the next block when that
// one is nearly full), then the region is deleted and the cells below it in its 13 columns close
// up. Only values travel; formats and comments go with the deleted cells.
//
// No error handling of its own: a refused host call ends the tool where it happens, so the
// region stays in place unless its copy was written. Screen updating comes back on however it
// ends.

#include <cstdint>

#include "blocks/block_geometry.h"
#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "topics/slim_sheet.h"

namespace tezlo {
namespace {

// The copy starts this many rows below the last region.
constexpr int32_t kGapRows = 10;
// A copy starting lower than this many rows above the sheet's end goes to the next block instead.
constexpr int32_t kBottomReserve = 150;

}  // namespace

void MoveRegionToEnd(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  ComputeGridState(ctx);
  if (!ctx.curRegion) throw HostError("no current region");
  const RangeRef source = *ctx.curRegion;
  const int16_t sourceRows = CheckedInt16(ctx.regionRows);
  const Matrix values = ctx.host.GetValues(source.sheet, source.area);

  // The target is found from the trimmed sheet's last used column. When the trimming could not
  // finish (data in the sheet's last row or column), that column is unknown: the region stays.
  if (!SlimActiveSheet(ctx)) return;

  int32_t targetCol = blocks::BlockStartColumn(ctx.usedLastCol, ctx.blockWidth);
  const Cell lastInBlock =
      ctx.host.End(source.sheet, Cell{ctx.sheetRows, targetCol}, Direction::Up);
  ctx.host.ActivateCell(Cell{lastInBlock.row, targetCol});
  ComputeGridState(ctx);

  int32_t targetRow = CheckedInt32(int64_t{sourceRows} + ctx.regionLastRow + kGapRows);
  if (targetRow > ctx.sheetRows - kBottomReserve) {
    targetCol = CheckedInt32(int64_t{targetCol} + ctx.blockWidth);
    targetRow = 1;
  }
  ctx.host.SetValues(source.sheet, Cell{targetRow, targetCol}, values);
  ctx.host.DeleteShiftUp(source.sheet, source.area);
}

}  // namespace tezlo
