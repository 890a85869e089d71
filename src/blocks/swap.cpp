// Exchanging the values of two cells picked one after the other (a selection of two areas), or
// the two rows or two columns of the current region that hold them.
//
// The exchange is by value: both sides are read before either is written, formulas give way to
// the values they showed, formats and comments stay in place. No error handling of their own: a
// refused host call (such as a selection of two cells in one area, which has no second area) ends
// the tool and goes to the caller.

#include <cstdint>

#include "blocks/block_geometry.h"
#include "blocks/block_messages.h"
#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "dispatch/tools.h"

namespace tezlo {
namespace {

constexpr const char* kNotTwoCells = "所选单元格不是两个";
constexpr const char* kOutsideRegion = "所选单元格超出列块范围";

enum class RegionLine { Row, Column };

// Takes the selection's first and second areas into swapA and swapB; HostError when the two
// cells form a single area.
void TakeSwapAreas(Context& ctx, SheetRef sheet, const Selection& selection) {
  if (selection.areas.size() < 2) throw HostError("the selection has no second area");
  ctx.swapA = RangeRef{sheet, selection.areas[0]};
  ctx.swapB = RangeRef{sheet, selection.areas[1]};
}

bool InsideRegion(const Context& ctx, Cell cell) {
  return cell.col <= ctx.regionLastCol && cell.row <= ctx.regionLastRow && cell.col >= ctx.curCol &&
         cell.row >= ctx.curRow;
}

bool SelectionInsideRegion(const Context& ctx, const Selection& selection) {
  for (const Area& area : selection.areas) {
    for (int32_t row = area.first.row; row <= area.last.row; ++row) {
      for (int32_t col = area.first.col; col <= area.last.col; ++col) {
        if (!InsideRegion(ctx, Cell{row, col})) return false;
      }
    }
  }
  return true;
}

// The part of the region that a selected cell picks: columns 2 to 13 of its row, or its column
// from the region's first to its last row.
Area RegionLineThrough(const Context& ctx, Cell cell, RegionLine line) {
  if (line == RegionLine::Row) {
    return Area::Of(cell.row, ctx.curCol + 1, cell.row, ctx.curCol + blocks::kEditWidth - 1);
  }
  return Area::Of(ctx.curRow, cell.col, ctx.regionLastRow, cell.col);
}

void SwapRegionLines(Context& ctx, RegionLine line) {
  ScreenUpdatingGuard screen(ctx.host);
  const SheetRef sheet = ctx.host.ActiveSheet();
  const Selection selection = ctx.host.GetSelection();
  if (selection.Count() != 2) {
    blocks::ShowNotice(ctx.ui, kNotTwoCells);
    return;
  }
  TakeSwapAreas(ctx, sheet, selection);
  ComputeGridState(ctx);
  if (!SelectionInsideRegion(ctx, selection)) {
    blocks::ShowNotice(ctx.ui, kOutsideRegion);
    return;
  }

  ctx.swapA = RangeRef{sheet, RegionLineThrough(ctx, selection.areas[0].first, line)};
  ctx.swapB = RangeRef{sheet, RegionLineThrough(ctx, selection.areas[1].first, line)};
  // A column travels as a flat list and is turned back into a column on writing, so either way
  // each side receives exactly the block read from the other.
  const Matrix first = ctx.host.GetValues(sheet, ctx.swapA->area);
  const Matrix second = ctx.host.GetValues(sheet, ctx.swapB->area);
  ctx.host.SetValues(sheet, ctx.swapA->area.first, second);
  ctx.host.SetValues(sheet, ctx.swapB->area.first, first);
}

}  // namespace

void SwapTwoCells(Context& ctx) {
  const SheetRef sheet = ctx.host.ActiveSheet();
  const Selection selection = ctx.host.GetSelection();
  if (selection.Count() != 2) {
    blocks::ShowNotice(ctx.ui, kNotTwoCells);
    return;
  }
  TakeSwapAreas(ctx, sheet, selection);
  const Value first = ctx.host.GetValue(sheet, ctx.swapA->area.first);
  const Value second = ctx.host.GetValue(sheet, ctx.swapB->area.first);
  ctx.host.SetValue(sheet, ctx.swapA->area.first, second);
  ctx.host.SetValue(sheet, ctx.swapB->area.first, first);
}

void SwapRegionRows(Context& ctx) { SwapRegionLines(ctx, RegionLine::Row); }

void SwapRegionColumns(Context& ctx) { SwapRegionLines(ctx, RegionLine::Column); }

}  // namespace tezlo
