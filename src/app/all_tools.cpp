#include "app/all_tools.h"

#include "blocks/register_block_tools.h"
#include "tools/register_data_tools.h"
#include "topics/register_topic_tools.h"

namespace tezlo {

Toolset AllTools() {
  Toolset tools;
  RegisterBlockTools(tools);
  RegisterTopicTools(tools);
  RegisterDataTools(tools);
  return tools;
}

}  // namespace tezlo
