// "*11" and "*12": a selected block becomes one column on a new sheet, and a selected column a
// block of a chosen number of rows. The source is never changed.
#include <algorithm>
#include <optional>
#include <string>

#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/helpers.h"
#include "host/host_error.h"
#include "tools/data_tools.h"

namespace tezlo {
namespace {

constexpr const char* kBlockTip = "此功能是把选定的方块在新表里转为单列，便于排序等操作。";
constexpr const char* kColumnTip = "此功能是把选定的单列在新表里转为方块，便于打印等操作。";

// The selection's first area (the active cell alone when there is none).
Area FirstArea(Host& host) {
  const Selection selection = host.GetSelection();
  if (selection.areas.empty()) return Area::Of(selection.active);
  return selection.areas.front();
}

// The rows per block the answer asks for: a whole number above 0 (fractions rounded half to
// even). Cancel, an empty answer, a text that is not a number, 0 and below give nothing.
std::optional<int32_t> RowsPerBlock(const std::optional<std::string>& answer) {
  if (!answer) return std::nullopt;
  try {
    const int32_t rows = ToWholeNumber(*answer);
    if (rows > 0) return rows;
  } catch (const HostError&) {
  }
  return std::nullopt;
}

}  // namespace

void BlockToColumn(Context& ctx) {
  Host& host = ctx.host;
  ShowTip(ctx, kBlockTip);
  // From here on every step that fails is skipped.
  ScreenUpdatingGuard screen(host);

  Area block = Area::Of(Cell{});
  Step([&] { block = FirstArea(host); });
  const int64_t r = block.Rows();
  const int64_t c = block.Cols();
  int32_t sheetRows = 0;
  Step([&] { sheetRows = host.RowsCount(); });
  // Only the cells that land inside the new sheet's rows can be written; a block larger than
  // that is read no further than its first columns that fit.
  const int64_t written = std::min<int64_t>(r * c, sheetRows);
  const int64_t columnsRead = written == 0 ? 0 : (written + r - 1) / r;
  Matrix values;
  if (block.Count() > 1 && columnsRead > 0) {
    const Area read = Area::Of(block.first.row, block.first.col, block.last.row,
                               static_cast<int32_t>(block.first.col + columnsRead - 1));
    Step([&] { values = host.GetValues(host.ActiveSheet(), read); });
  }

  std::optional<SheetRef> target;
  Step([&] { target = host.AddSheetAfter(host.ActiveSheet()); });
  // A single cell has no block form: the new sheet stays empty.
  if (!target || values.Empty()) return;

  // The block column by column: all of its first column top to bottom, then the second, ...
  // Written in one transfer, which stores exactly what writing the cells one by one would.
  Matrix column(static_cast<int32_t>(written), 1);
  for (int64_t k = 0; k < written; ++k) {
    column.At(static_cast<int32_t>(k), 0) =
        values.At(static_cast<int32_t>(k % r), static_cast<int32_t>(k / r));
  }
  Step([&] { host.SetValues(*target, Cell{1, 1}, column); });
}

void ColumnToBlock(Context& ctx) {
  Host& host = ctx.host;
  ShowTip(ctx, kColumnTip);
  // From here on every step that fails is skipped.
  ScreenUpdatingGuard screen(host);

  Area column = Area::Of(Cell{});
  Step([&] {
    column = FirstArea(host);
    column.last.col = column.first.col;
  });
  const auto r = static_cast<int32_t>(column.Rows());
  Matrix items;
  // A single cell has no list form: nothing will be written.
  if (r > 1) Step([&] { items = host.GetValues(host.ActiveSheet(), column); });

  std::optional<SheetRef> target;
  Step([&] { target = host.AddSheetAfter(host.ActiveSheet()); });

  InputBoxRequest ask;
  ask.prompt = "此单列共有 " + std::to_string(r) + " 行，请输入你想转为方块后保持多少行数。";
  ask.title = "提示";
  std::optional<std::string> answer;
  Step([&] { answer = ctx.ui.InputBox(ask); });
  const std::optional<int32_t> n = RowsPerBlock(answer);
  if (!n || !target || items.Empty()) return;

  // r / n rounded up columns; a block that would reach beyond the sheet cannot be written.
  const int32_t m = r / *n + (r % *n > 0 ? 1 : 0);
  int32_t sheetRows = 0;
  int32_t sheetCols = 0;
  if (!Step([&] {
        sheetRows = host.RowsCount();
        sheetCols = host.ColumnsCount();
      })) {
    return;
  }
  if (*n > sheetRows || m > sheetCols) return;

  // Filled column by column; the last column's lower slots stay empty when r is not a multiple
  // of n.
  Matrix block(*n, m);
  for (int32_t k = 0; k < r; ++k) block.At(k % *n, k / *n) = items.At(k, 0);
  Step([&] { host.SetValues(*target, Cell{1, 1}, block); });
}

}  // namespace tezlo
