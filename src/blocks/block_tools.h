// The column-block tools: rows inside a block, cells, sizes and regions. Each runs on the
// Context the dispatcher prepared for it.
#pragma once

namespace tezlo {

struct Context;

void InsertBlockRow(Context& ctx);
void DeleteBlockRow(Context& ctx);
void InsertBlockRows(Context& ctx);
void DeleteBlockRows(Context& ctx);
void GoToVisibleCell(Context& ctx);
void SwapTwoCells(Context& ctx);
void SwapRegionRows(Context& ctx);
void SwapRegionColumns(Context& ctx);
void SortRegionAscending(Context& ctx);
void SortRegionDescending(Context& ctx);
void SaveBlockSizes(Context& ctx);
void RestoreBlockSizes(Context& ctx);
void SelectRegion(Context& ctx);
void MoveRegionToEnd(Context& ctx);

}  // namespace tezlo
