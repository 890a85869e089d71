#include "dispatch/grid_state.h"

#include "dispatch/checked_math.h"
#include "dispatch/conversions.h"
#include "dispatch/helpers.h"
#include "host/grid_limits.h"

namespace tezlo {
namespace {

// The topic block is always 13 columns wide, whatever the column block's width.
constexpr int32_t kRegionWidth = kBlockWidth;

// A cell counts as empty when its value, read as text, is empty. Error values fail here.
bool IsBlank(Context& ctx, SheetRef sheet, int32_t row, int32_t col) {
  return ValueToText(ctx.host.GetValue(sheet, Cell{row, col})).empty();
}

}  // namespace

void ComputeGridState(Context& ctx) {
  if (ctx.flowFlag != Flow::GoOn) return;
  Host& host = ctx.host;
  const SheetRef sheet = host.ActiveSheet();

  // regionCols holds the active column and regionRows the probe row while this runs.
  const Cell active = host.ActiveCell();
  ctx.curRow = active.row;
  ctx.regionCols = active.col;

  ctx.curCol =
      CheckedInt32(FloorDiv(int64_t{ctx.regionCols} - 1, ctx.blockWidth) * ctx.blockWidth + 1);

  ctx.sheetRows = host.RowsCount();
  ctx.sheetCols = host.ColumnsCount();

  // Both the test and the probe upward are evaluated, whichever is used.
  const bool filled = !IsBlank(ctx, sheet, ctx.curRow, ctx.curCol);
  const int32_t above = EndUpRow(ctx, ctx.curRow, ctx.curCol);
  ctx.regionTop = filled ? ctx.curRow : above;
  if (ctx.regionTop < ctx.firstDataRow && ctx.curCol == 1) ctx.regionTop = ctx.firstDataRow;

  // The probe row: the next topic word's row, the end of an unbroken run in the first column,
  // or the sheet's last row.
  ctx.regionRows = EndDownRow(ctx, ctx.regionTop, ctx.curCol);
  const int32_t probe = ctx.regionRows;

  const int32_t lastCol = CheckedInt32(int64_t{ctx.curCol} + kRegionWidth - 1);
  if (lastCol > ctx.sheetCols) throw HostError("The topic block reaches past the last column");
  ctx.regionBottom = 1;
  for (int32_t col = ctx.curCol; col <= lastCol; ++col) {
    const int32_t up = EndUpRow(ctx, probe, col);
    if (ctx.regionBottom < up) {
      ctx.regionBottom = IsBlank(ctx, sheet, probe - 1, col) ? up : probe - 1;
    }
  }
  if (ctx.regionBottom < ctx.regionTop) ctx.regionBottom = ctx.regionTop;

  const Area region = Area::Of(ctx.regionTop, ctx.curCol, ctx.regionBottom, lastCol);
  ctx.curRegion = RangeRef{sheet, region};
  ctx.regionBody = RangeRef{sheet, Area::Of(region.first.row, region.first.col + 1, region.last.row,
                                            region.last.col)};

  ctx.curRow = region.first.row;
  ctx.curCol = region.first.col;
  ctx.regionRows = CheckedInt32(region.Rows());
  ctx.regionCols = CheckedInt32(region.Cols());
  ctx.regionLastRow = CheckedInt32(int64_t{ctx.regionRows} + ctx.curRow - 1);
  ctx.regionLastCol = CheckedInt32(int64_t{ctx.curCol} + ctx.regionCols - 1);
}

}  // namespace tezlo
