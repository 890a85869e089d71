// Puts the data tools and listings into the dispatcher's slots.
#pragma once

#include "dispatch/toolset.h"

namespace tezlo {

void RegisterDataTools(Toolset& tools);

}  // namespace tezlo
