#include "tools/register_data_tools.h"

#include "dispatch/tools.h"

namespace tezlo {

void RegisterDataTools(Toolset& tools) {
  tools.ListDesktopFiles = &ListDesktopFiles;
  tools.ListProcesses = &ListProcesses;
  tools.ExpandIdCardInfo = &ExpandIdCardInfo;
  tools.SwapTextAndNumber = &SwapTextAndNumber;
  tools.BlockToColumn = &BlockToColumn;
  tools.ColumnToBlock = &ColumnToBlock;
  tools.CompareTwoColumns = &CompareTwoColumns;
  tools.ListDriveFolders = &ListDriveFolders;
  tools.CopyTemplateSheets = &CopyTemplateSheets;
}

}  // namespace tezlo
