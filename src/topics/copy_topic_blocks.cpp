// "*17": copy the topic blocks of the words in A1:C10 onto a new sheet after the active one.
#include <optional>
#include <string>

#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "topics/topic_search.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

// The corner of the topic index that holds the chosen words: rows 1 to 10 of columns 1 to 3.
constexpr int32_t kChoiceRows = 10;
constexpr int32_t kChoiceCols = 3;
// Empty rows between two copies, and the rows kept free at the bottom of a target column block.
constexpr int64_t kGapRows = 10;
constexpr int64_t kBottomMargin = 150;

}  // namespace

void CopyTopicBlocksToNewSheet(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);

  SheetRef source;
  SheetRef target;
  if (!Step([&] { source = host.ActiveSheet(); })) return;
  // Without a new sheet there is nowhere to copy to: writing into whatever sheet follows the
  // active one would overwrite it.
  if (!Step([&] { target = host.AddSheetAfter(source); })) return;
  Step([&] { host.ActivateSheet(source); });

  // The topic search neither checks an address nor moves the view with an empty code.
  ctx.funcCode.clear();

  int64_t targetRow = 1;
  int64_t targetCol = 1;
  for (int32_t j = 1; j <= kChoiceCols; ++j) {
    for (int32_t i = 1; i <= kChoiceRows; ++i) {
      std::string word;
      if (!Step([&] { word = ValueToText(host.GetValue(source, Cell{i, j})); })) continue;
      if (word.empty()) continue;
      ctx.sheetName = word;

      // A word without a topic block contributes nothing, and the source sheet is left as it is
      // (no new topic block is started for it there).
      if (!FindTopicWord(ctx, source, word)) continue;
      Step([&] { GoToTopicWord(ctx); });
      if (!Step([&] { ComputeGridState(ctx); }) || !ctx.curRegion) continue;
      const RangeRef kept = *ctx.curRegion;

      if (targetCol == 1 && targetRow == 1) targetRow = ctx.firstDataRow;
      // The copy takes the topic block's 13 columns; on sheets with wider column blocks the rest
      // of the target column block stays empty.
      Step([&] {
        const Matrix values = host.GetValues(kept.sheet, kept.area);
        host.SetValues(target, Cell{CheckedInt32(targetRow), CheckedInt32(targetCol)}, values);
      });
      targetRow += ctx.regionRows + kGapRows;
      if (targetRow > ctx.sheetRows - kBottomMargin) {
        targetRow = 1;
        targetCol += ctx.blockWidth;
      }
    }
  }
}

}  // namespace tezlo
