// "*19": every topic word of the active sheet, one per row, in column A of a new sheet.
#include <vector>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

// A cell counts as a topic word when it shows something: not empty and not the empty text. An
// error value is listed as it stands.
bool IsTopicWord(const Value& value) {
  return !value.IsEmpty() && !(value.IsText() && value.AsText().empty());
}

// The lowest row holding content in column `col` (row 1 when it holds none).
int32_t LastContentRow(Host& host, SheetRef sheet, int32_t col, int32_t sheetRows) {
  if (!host.GetValue(sheet, Cell{sheetRows, col}).IsEmpty()) return sheetRows;
  return host.End(sheet, Cell{sheetRows, col}, Direction::Up).row;
}

}  // namespace

void ListTopicWords(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);

  const SheetRef source = host.ActiveSheet();
  const SheetRef list = host.AddSheetAfter(source);
  host.ActivateSheet(source);

  if (ctx.blockWidth <= 0) return;
  int32_t outputRow = 0;
  // Column blocks from the rightmost to the first; within each, top to bottom. A block column
  // without content costs one CountA; the others are read in one transfer down to their last
  // filled cell and written in one.
  for (int64_t col = ctx.lastBlockCol; col >= 1; col -= ctx.blockWidth) {
    const int32_t blockCol = static_cast<int32_t>(col);
    const int32_t startRow = blockCol == 1 ? ctx.firstDataRow : 1;
    const Area column = Area::Of(startRow, blockCol, ctx.sheetRows, blockCol);
    ctx.curRegion = RangeRef{source, column};
    if (host.CountA(source, column) == 0) continue;

    const int32_t lastRow = LastContentRow(host, source, blockCol, ctx.sheetRows);
    const Matrix cells = host.GetValues(source, Area::Of(startRow, blockCol, lastRow, blockCol));
    std::vector<Value> words;
    for (int32_t r = 0; r < cells.Rows(); ++r) {
      if (IsTopicWord(cells.At(r, 0))) words.push_back(cells.At(r, 0));
    }
    if (words.empty()) continue;

    Matrix out(static_cast<int32_t>(words.size()), 1);
    for (size_t i = 0; i < words.size(); ++i) out.At(static_cast<int32_t>(i), 0) = words[i];
    host.SetValues(list, Cell{outputRow + 1, 1}, out);
    outputRow += out.Rows();
  }
}

}  // namespace tezlo
