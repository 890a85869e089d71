// Sorting the current region's rows by the active cell's column, its first column staying in
// place, and selecting the whole region.
//
// No error handling of their own: a key outside the sorted columns (the region's first column) is
// refused by the host and nothing changes. The sorts switch screen updating back on however they
// end; selecting leaves it alone.

#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"

namespace tezlo {
namespace {

void SortRegionBody(Context& ctx, bool descending) {
  ScreenUpdatingGuard screen(ctx.host);
  ComputeGridState(ctx);
  if (!ctx.regionBody) throw HostError("no current region");
  const Cell key = ctx.host.ActiveCell();
  ctx.host.Sort(ctx.regionBody->sheet, ctx.regionBody->area, key.col, descending);
}

}  // namespace

void SortRegionAscending(Context& ctx) { SortRegionBody(ctx, false); }

void SortRegionDescending(Context& ctx) { SortRegionBody(ctx, true); }

void SelectRegion(Context& ctx) {
  ComputeGridState(ctx);
  if (!ctx.curRegion) throw HostError("no current region");
  const Area region = ctx.curRegion->area;
  ctx.host.Select(Selection{{region}, region.first});
}

}  // namespace tezlo
