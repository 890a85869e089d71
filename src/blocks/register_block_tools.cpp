#include "blocks/register_block_tools.h"

#include "dispatch/tools.h"

namespace tezlo {

void RegisterBlockTools(Toolset& tools) {
  tools.InsertBlockRow = &InsertBlockRow;
  tools.DeleteBlockRow = &DeleteBlockRow;
  tools.InsertBlockRows = &InsertBlockRows;
  tools.DeleteBlockRows = &DeleteBlockRows;
  tools.GoToVisibleCell = &GoToVisibleCell;
  tools.SwapTwoCells = &SwapTwoCells;
  tools.SwapRegionRows = &SwapRegionRows;
  tools.SwapRegionColumns = &SwapRegionColumns;
  tools.SortRegionAscending = &SortRegionAscending;
  tools.SortRegionDescending = &SortRegionDescending;
  tools.SaveBlockSizes = &SaveBlockSizes;
  tools.RestoreBlockSizes = &RestoreBlockSizes;
  tools.SelectRegion = &SelectRegion;
  tools.MoveRegionToEnd = &MoveRegionToEnd;
}

}  // namespace tezlo
