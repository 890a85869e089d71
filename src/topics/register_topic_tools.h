// Puts the topic-block and sheet-maintenance tools into the dispatcher's slots.
#pragma once

#include "dispatch/toolset.h"

namespace tezlo {

// Fills the slots SlimSheetToEnd, GoToTopicWord, SetUpSheet, SlimWorkbook,
// CopyTopicBlocksToNewSheet and ListTopicWords; leaves the others as they are.
void RegisterTopicTools(Toolset& tools);

}  // namespace tezlo
