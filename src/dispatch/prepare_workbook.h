// Readies the active workbook before every command and reads the active sheet's settings.
#pragma once

#include <string>

#include "dispatch/context.h"

namespace tezlo {

// The working sheets every tool runs on.
inline constexpr const char* kWorkingSheets[] = {"+1", "+2", "+3"};

// The notice shown when the active sheet is not a working sheet.
std::string NotAWorkingSheetMessage(const std::string& sheetName);

// Switches screen updating on; reads the topic-index height from J1 into firstDataRow; adds the
// sheets "+2" and then "+1" after the active sheet when they are missing; sets curRegion,
// activeWs, blockWidth, sheetIndex, sheetRows, sheetCols, curRow, lastBlockCol and sheetName.
// flowFlag ends at GoOn on a working sheet. On any other sheet it shows a notice, sets flowFlag
// to Stop and goes to A1 of "+1". Each step that fails is skipped.
void PrepareWorkbook(Context& ctx);

}  // namespace tezlo
