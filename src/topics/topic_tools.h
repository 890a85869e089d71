// The topic-block and sheet-maintenance tools. Each runs on the Context the dispatcher prepared
// for it; some run another of them as one of their steps.
#pragma once

namespace tezlo {

struct Context;

void SlimSheetToEnd(Context& ctx);
void GoToTopicWord(Context& ctx);
void SetUpSheet(Context& ctx);
void SlimWorkbook(Context& ctx);
void CopyTopicBlocksToNewSheet(Context& ctx);
void ListTopicWords(Context& ctx);

}  // namespace tezlo
