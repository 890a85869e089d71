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
#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"

namespace tezlo {
namespace {

constexpr const char* kNotTwoCells = "所选单元格不是两个";
constexpr const char* kOutsideRegion = "所选单元格超出列块范围";

enum class RegionLine { Row, Column };

// Refuses (HostError) a selection whose two cells form a single area.
void RequireTwoAreas(const Selection& selection) {
  if (selection.areas.size() < 2) throw HostError("the selection has no second area");
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
  RequireTwoAreas(selection);
  ComputeGridState(ctx);
  if (!SelectionInsideRegion(ctx, selection)) {
    blocks::ShowNotice(ctx.ui, kOutsideRegion);
    return;
  }

  const Area a = RegionLineThrough(ctx, selection.areas[0].first, line);
  const Area b = RegionLineThrough(ctx, selection.areas[1].first, line);
  // A column travels as a flat list and is turned back into a column on writing, so either way
  // each side receives exactly the block read from the other.
  const Matrix first = ctx.host.GetValues(sheet, a);
  const Matrix second = ctx.host.GetValues(sheet, b);
  ctx.host.SetValues(sheet, a.first, second);
  ctx.host.SetValues(sheet, b.first, first);
}

}  // namespace

void SwapTwoCells(Context& ctx) {
  const SheetRef sheet = ctx.host.ActiveSheet();
  const Selection selection = ctx.host.GetSelection();
  if (selection.Count() != 2) {
    blocks::ShowNotice(ctx.ui, kNotTwoCells);
    return;
  }
  RequireTwoAreas(selection);
  const Cell a = selection.areas[0].first;
  const Cell b = selection.areas[1].first;
  const Value first = ctx.host.GetValue(sheet, a);
  const Value second = ctx.host.GetValue(sheet, b);
  ctx.host.SetValue(sheet, a, second);
  ctx.host.SetValue(sheet, b, first);
}

void SwapRegionRows(Context& ctx) { SwapRegionLines(ctx, RegionLine::Row); }

void SwapRegionColumns(Context& ctx) { SwapRegionLines(ctx, RegionLine::Column); }

}  // namespace tezlo
