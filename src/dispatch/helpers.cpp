#include "dispatch/helpers.h"

#include "dispatch/error_modes.h"

namespace tezlo {

int32_t EndUpRow(Context& ctx, int32_t row, int32_t col) {
  return ctx.host.End(ctx.host.ActiveSheet(), Cell{row, col}, Direction::Up).row;
}

int32_t EndDownRow(Context& ctx, int32_t row, int32_t col) {
  return ctx.host.End(ctx.host.ActiveSheet(), Cell{row, col}, Direction::Down).row;
}

void ShowTip(Context& ctx, const std::string& text) {
  MessageBoxRequest request;
  request.text = text;
  request.title = "Tip";
  request.buttons = Buttons::Ok;
  request.icon = Icon::Information;
  ctx.ui.MessageBox(request);
}

void GoToCell(Context& ctx, int32_t& row, int32_t& col) {
  if (row < 1) row = 1;
  if (col < 1) col = 1;
  ctx.host.SetScrollRow(row);
  ctx.host.SetScrollColumn(col);
  ctx.host.ActivateCell(Cell{row, col});
}

void GoToCell(Context& ctx, Cell cell) { GoToCell(ctx, cell.row, cell.col); }

void GoToTopLeft(Context& ctx) { GoToCell(ctx, Cell{1, 1}); }

void SetCellNote(Context& ctx, int32_t row, int32_t col, const std::string& text) {
  const Cell cell{row, col};
  Step([&] { ctx.host.ClearComments(ctx.host.ActiveSheet(), Area::Of(cell)); });
  Step([&] { ctx.host.AddComment(ctx.host.ActiveSheet(), cell, ""); });
  Step([&] { ctx.host.SetCommentText(ctx.host.ActiveSheet(), cell, text); });
}

}  // namespace tezlo
