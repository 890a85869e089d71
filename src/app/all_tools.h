// Every tool of every family in one Toolset: what a front end puts into its Context.
#pragma once

#include "dispatch/toolset.h"

namespace tezlo {

// The column-block, topic and data tools, each in its slot.
Toolset AllTools();

}  // namespace tezlo
