// The code 999: trim the active sheet to its data and go to its last topic word.
#include "topics/slim_sheet.h"

#include "dispatch/checked_math.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "dispatch/helpers.h"
#include "topics/topic_tools.h"
#include "topics/trim_sheet.h"

namespace tezlo {

bool SlimActiveSheet(Context& ctx) {
  Host& host = ctx.host;
  ctx.sheetRows = host.RowsCount();
  ctx.sheetCols = host.ColumnsCount();

  // Declared in this order so that alerts come back on first, then screen updating.
  ScreenUpdatingGuard screen(host);
  AlertsGuard alerts(host);
  return RunUntilFailure([&] {
    const SheetRef sheet = host.ActiveSheet();
    TrimSheet(host, sheet, ctx.sheetRows, ctx.sheetCols);

    // Reading the used range again picks up the deletions.
    const Area used = host.UsedRange(sheet);
    ctx.regionBody = RangeRef{sheet, used};
    ctx.usedLastRow = used.last.row;
    ctx.usedLastCol = used.last.col;

    // The last topic word: the lowest filled cell in the first column of the column block that
    // holds the last used column.
    ctx.curCol =
        CheckedInt32(FloorDiv(int64_t{ctx.usedLastCol} - 1, ctx.blockWidth) * ctx.blockWidth + 1);
    ctx.curRow = EndUpRow(ctx, ctx.sheetRows, ctx.curCol);
    host.ActivateCell(Cell{ctx.curRow, ctx.curCol});
    ComputeGridState(ctx);

    // Only the code of its own scrolls the view; the tools that call it decide for themselves.
    if (ctx.funcCode == "999") GoToCell(ctx, ctx.curRow, ctx.curCol);
  });
}

void SlimSheetToEnd(Context& ctx) { SlimActiveSheet(ctx); }

}  // namespace tezlo
