// Puts the column-block editing tools into the dispatcher's slots.
#pragma once

#include "dispatch/toolset.h"

namespace tezlo {

void RegisterBlockTools(Toolset& tools);

}  // namespace tezlo
