// The data tools and listings. Each runs on the Context the dispatcher prepared for it.
#pragma once

namespace tezlo {

struct Context;

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
