#include "topics/topic_search.h"

#include "dispatch/error_modes.h"

namespace tezlo {

std::optional<Cell> FindTopicWord(const Context& ctx, SheetRef sheet, const std::string& word) {
  Host& host = ctx.host;
  if (ctx.blockWidth <= 0) return std::nullopt;
  const Value lookup = Value::Text(word);
  for (int64_t col = ctx.lastBlockCol; col >= 1; col -= ctx.blockWidth) {
    const int32_t blockCol = static_cast<int32_t>(col);
    const int32_t startRow = blockCol == 1 ? ctx.firstDataRow : 1;
    const Area column = Area::Of(startRow, blockCol, ctx.sheetRows, blockCol);
    int32_t position = 0;
    Step([&] {
      if (host.CountA(sheet, column) > 0) position = host.Match(sheet, lookup, column);
    });
    if (position > 0) return Cell{startRow + position - 1, blockCol};
  }
  return std::nullopt;
}

}  // namespace tezlo
