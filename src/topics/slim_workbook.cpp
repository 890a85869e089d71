// "*15": delete the empty sheets, offer the others not named "+..." for deletion, trim the rest.
#include <string>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "topics/topic_tools.h"
#include "topics/trim_sheet.h"

namespace tezlo {
namespace {

constexpr const char* kDeleteQuestion = "点“确定”删除此工作表：";

bool ConfirmDeletion(Context& ctx, const std::string& sheetName) {
  MessageBoxRequest request;
  request.text = kDeleteQuestion + sheetName;
  request.title = "提示";
  request.buttons = Buttons::OkCancel;
  request.icon = Icon::None;
  return ctx.ui.MessageBox(request) == Answer::Ok;
}

}  // namespace

void SlimWorkbook(Context& ctx) {
  Host& host = ctx.host;
  ctx.sheetRows = host.RowsCount();
  ctx.sheetCols = host.ColumnsCount();

  // Declared in this order so that alerts come back on first, then screen updating.
  ScreenUpdatingGuard screen(host);
  AlertsGuard alerts(host);
  // The first failure (such as deleting the workbook's only sheet, or trimming a sheet whose
  // bottom row or last column holds data) ends the run; what was done stays.
  RunUntilFailure([&] {
    const int32_t book = host.ActiveWorkbook();
    // Sheets in collection order; a deleted sheet's successor takes its index.
    int32_t index = 1;
    while (index <= host.SheetCount(book)) {
      const SheetRef sheet{book, index};
      if (host.CountA(sheet, Area::Of(1, 1, ctx.sheetRows, ctx.sheetCols)) == 0) {
        host.DeleteSheet(sheet);
        continue;
      }
      const std::string name = host.SheetName(sheet);
      if (!name.starts_with("+") && ConfirmDeletion(ctx, name)) {
        host.DeleteSheet(sheet);
        continue;
      }
      TrimSheet(host, sheet, ctx.sheetRows, ctx.sheetCols);

      const SheetRef active = host.ActiveSheet();
      const Area used = host.UsedRange(active);
      ctx.regionBody = RangeRef{active, used};
      ctx.usedLastRow = used.last.row;
      ctx.usedLastCol = used.last.col;
      ++index;
    }
  });
}

}  // namespace tezlo
