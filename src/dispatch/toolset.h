// The slots the dispatcher calls its tools through. Each tool library fills its own slots (see
// tools.h for the tools themselves); a slot left empty makes its function code do nothing.
#pragma once

namespace tezlo {

struct Context;

using Tool = void (*)(Context&);

struct Toolset {
  // Row editing inside a column block.
  Tool InsertBlockRow = nullptr;
  Tool DeleteBlockRow = nullptr;
  Tool InsertBlockRows = nullptr;
  Tool DeleteBlockRows = nullptr;
  Tool GoToVisibleCell = nullptr;
  Tool SwapTwoCells = nullptr;
  Tool SwapRegionRows = nullptr;
  Tool SwapRegionColumns = nullptr;
  Tool SortRegionAscending = nullptr;
  Tool SortRegionDescending = nullptr;
  Tool SaveBlockSizes = nullptr;
  Tool RestoreBlockSizes = nullptr;
  Tool SelectRegion = nullptr;
  Tool MoveRegionToEnd = nullptr;
  // Topic blocks and sheet maintenance.
  Tool SlimSheetToEnd = nullptr;
  Tool GoToTopicWord = nullptr;
  Tool SetUpSheet = nullptr;
  Tool SlimWorkbook = nullptr;
  Tool CopyTopicBlocksToNewSheet = nullptr;
  Tool ListTopicWords = nullptr;
  // Data tools and listings.
  Tool ListDesktopFiles = nullptr;
  Tool ListProcesses = nullptr;
  Tool ExpandIdCardInfo = nullptr;
  Tool SwapTextAndNumber = nullptr;
  Tool BlockToColumn = nullptr;
  Tool ColumnToBlock = nullptr;
  Tool CompareTwoColumns = nullptr;
  Tool ListDriveFolders = nullptr;
  Tool CopyTemplateSheets = nullptr;
};

}  // namespace tezlo
