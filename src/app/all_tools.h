// The program's tool table: every function code with the tool it runs, in the order the
// dispatcher tries them. What a front end puts into its Context.
#pragma once

#include "dispatch/tool_table.h"

namespace tezlo {

ToolTable AllTools();

}  // namespace tezlo
