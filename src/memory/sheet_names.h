// The rules a worksheet's name follows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

// 1 to 31 characters, none of : \ / ? * [ ]. HostError otherwise.
void CheckSheetName(std::string_view name);

// "SheetN" with N one more than the largest N of the names already present (compared without
// regard to case), as the spreadsheet numbers its new sheets.
std::string NextSheetName(const std::vector<std::string>& taken);

}  // namespace tezlo
