// Inserting and deleting rows of cells inside one column block: only the 13 edited columns from
// the block's first column shift, so the blocks beside it on the same rows keep their places.
//
// No error handling of their own: a refused host call ends the tool and goes to the caller.
// Screen updating comes back on however a tool ends.

#include <cstdint>
#include <string>

#include "blocks/block_geometry.h"
#include "blocks/block_messages.h"
#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"

namespace tezlo {
namespace {

// Counts above this are cut down to it.
constexpr int32_t kMaxRowCount = 10;

// Reads the active cell into curRow and the block's first column into curCol.
void LocateEditStart(Context& ctx) {
  const Cell active = ctx.host.ActiveCell();
  ctx.curRow = active.row;
  ctx.curCol = blocks::BlockStartColumn(active.col, ctx.blockWidth);
}

// The count after the code's sign: the whole remainder must be a number (HostError otherwise),
// rounded half to even, at most 10.
int32_t RowCountFromCode(const std::string& code) {
  int32_t count = ToWholeNumber(Mid(code, 2));
  if (count > kMaxRowCount) count = kMaxRowCount;
  return count;
}

}  // namespace

void InsertBlockRow(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  const SheetRef sheet = ctx.host.ActiveSheet();
  LocateEditStart(ctx);
  ctx.host.InsertShiftDown(sheet, blocks::EditRows(ctx.curRow, 1, ctx.curCol));
}

void DeleteBlockRow(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  const SheetRef sheet = ctx.host.ActiveSheet();
  LocateEditStart(ctx);
  ctx.host.DeleteShiftUp(sheet, blocks::EditRows(ctx.curRow, 1, ctx.curCol));
}

void InsertBlockRows(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  const SheetRef sheet = ctx.host.ActiveSheet();
  LocateEditStart(ctx);
  const int32_t count = RowCountFromCode(ctx.funcCode);
  // A count below 1 would put the bottom strip below the sheet's last row: nothing to do.
  if (count < 1) return;

  const Area bottomStrip = blocks::EditRows(ctx.sheetRows - count + 1, count, ctx.curCol);
  if (ctx.host.CountA(sheet, bottomStrip) > 0 &&
      !blocks::ConfirmChange(ctx.ui, "此列块底部存在非空单元格")) {
    return;
  }
  ctx.host.InsertShiftDown(sheet, blocks::EditRows(ctx.curRow, count, ctx.curCol));
}

void DeleteBlockRows(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  const SheetRef sheet = ctx.host.ActiveSheet();
  LocateEditStart(ctx);
  const int32_t count = RowCountFromCode(ctx.funcCode);
  // A count below 1 names no rows to delete; it is refused rather than read as rows above the
  // active one.
  if (count < 1) return;

  const Area doomed = blocks::EditRows(ctx.curRow, count, ctx.curCol);
  if (ctx.host.CountA(sheet, doomed) > 0 &&
      !blocks::ConfirmChange(ctx.ui, "要删除的区域有非空单元格")) {
    return;
  }
  ctx.host.DeleteShiftUp(sheet, doomed);
}

}  // namespace tezlo
