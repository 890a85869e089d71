#include "topics/register_topic_tools.h"

#include "dispatch/tools.h"

namespace tezlo {

void RegisterTopicTools(Toolset& tools) {
  tools.SlimSheetToEnd = &SlimSheetToEnd;
  tools.GoToTopicWord = &GoToTopicWord;
  tools.SetUpSheet = &SetUpSheet;
  tools.SlimWorkbook = &SlimWorkbook;
  tools.CopyTopicBlocksToNewSheet = &CopyTopicBlocksToNewSheet;
  tools.ListTopicWords = &ListTopicWords;
}

}  // namespace tezlo
