// "*1": initial sizes, column-block marks and slimming for the active sheet, each step confirmed.
#include <string>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "dispatch/helpers.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

constexpr const char* kTitle = "设置提示";
constexpr const char* kLineBreak = "\r\n";

constexpr double kRowHeight = 11.25;
constexpr double kColumnWidth = 8.5;
constexpr int32_t kMarkColor = 43;

std::string SizesQuestion() {
  return std::string("点“确定”恢复初始的行宽列高（行高11.25，列宽8.5），") + kLineBreak +
         "不过请你回想一下，是否某些主题块需要做行高列宽记录？需要的话先点“取消”";
}

std::string MarksQuestion(int16_t blockWidth) {
  return "设置工作表已用区域，每隔" + std::to_string(blockWidth) + "列设色带标识。" + kLineBreak +
         "请稍等10秒钟。点“取消”不设置。";
}

std::string SlimQuestion() {
  return std::string("对当前工作表减肥，并定位在最后位置。") + kLineBreak +
         "请稍等10秒钟。点“取消”不减肥。";
}

// Asks with OK and Cancel; true for OK.
bool Confirm(Context& ctx, const std::string& question) {
  MessageBoxRequest request;
  request.text = question;
  request.title = kTitle;
  request.buttons = Buttons::OkCancel;
  request.icon = Icon::None;
  return ctx.ui.MessageBox(request) == Answer::Ok;
}

void RestoreInitialSizes(Context& ctx) {
  Host& host = ctx.host;
  host.SetScreenUpdating(false);
  ctx.sheetCols = host.ColumnsCount();
  const SheetRef sheet = host.ActiveSheet();
  const Area rows = host.UsedRange(sheet);
  host.SetRowHeight(sheet, rows.first.row, rows.last.row, kRowHeight);
  const Area cols = host.UsedRange(sheet);
  host.SetColumnWidth(sheet, cols.first.col, cols.last.col, kColumnWidth);
  host.SetScreenUpdating(true);
}

// Column A below the topic index (the sheet's last row excepted), and the first column of every
// further column block that ends more than a block's width before the sheet's right edge.
void MarkColumnBlocks(Context& ctx) {
  Host& host = ctx.host;
  host.SetScreenUpdating(false);
  const SheetRef sheet = host.ActiveSheet();
  host.SetColorIndex(sheet, Area::Of(ctx.firstDataRow, 1, ctx.sheetRows - 1, 1), kMarkColor);
  const int32_t sheetCols = ctx.sheetCols;
  if (ctx.blockWidth > 0) {
    for (int64_t col = int64_t{ctx.blockWidth} + 1; col <= sheetCols; col += ctx.blockWidth) {
      const auto mark = static_cast<int32_t>(col);
      if (sheetCols - col > ctx.blockWidth) host.SetColumnColorIndex(sheet, mark, mark, kMarkColor);
    }
  }
  host.SetScreenUpdating(true);
}

void SlimAndGoToEnd(Context& ctx) {
  SlimSheetToEnd(ctx);
  GoToCell(ctx, ctx.usedLastRow, ctx.usedLastCol);
}

}  // namespace

void SetUpSheet(Context& ctx) {
  // No error handling of its own: a failing step ends the tool, with screen updating back on.
  ScreenUpdatingGuard screen(ctx.host, /*switchOff=*/false);
  if (Confirm(ctx, SizesQuestion())) RestoreInitialSizes(ctx);
  if (Confirm(ctx, MarksQuestion(ctx.blockWidth))) MarkColumnBlocks(ctx);
  if (Confirm(ctx, SlimQuestion())) SlimAndGoToEnd(ctx);
}

}  // namespace tezlo
