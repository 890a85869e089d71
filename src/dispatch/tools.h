// Every tool the dispatcher can run. Each is defined by the library of its family (blocks/,
// topics/, tools/), which also puts it into a Toolset slot; tools may call one another directly.
#pragma once

namespace tezlo {

struct Context;

// Row editing inside a column block, cells, sizes and regions.
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

// Topic blocks and sheet maintenance.
void SlimSheetToEnd(Context& ctx);
void GoToTopicWord(Context& ctx);
void SetUpSheet(Context& ctx);
void SlimWorkbook(Context& ctx);
void CopyTopicBlocksToNewSheet(Context& ctx);
void ListTopicWords(Context& ctx);

// Data tools and listings.
void ListDesktopFiles(Context& ctx);
void ListProcesses(Context& ctx);
void ExpandIdCardInfo(Context& ctx);
void SwapTextAndNumber(Context& ctx);
void BlockToColumn(Context& ctx);
void ColumnToBlock(Context& ctx);
void CompareTwoColumns(Context& ctx);
void ListDriveFolders(Context& ctx);
void CopyTemplateSheets(Context& ctx);

}  // namespace tezlo
