// "*18": the topic block's second and third columns compared item by item. Each left item goes
// to the fourth column (no right item contains it) or the fifth (some right item does); each
// right item that no left item contains goes to the sixth. Rows stay aligned with the source.
#include <string>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "text/case_fold.h"
#include "tools/data_tools.h"
#include "tools/substring_index.h"

namespace tezlo {
namespace {

constexpr const char* kIntroText =
    "标题行与主题词在同一行，第2列(左)、第3列(右)是要进行比较的两列\r\n"
    "第4列是“左有右无”的、第5列是“左右同有”的、第6列是“左无右有”的";

// Every item as text (a number through the text it reads as), folded for comparing without
// regard to case. An error value cannot be read as text and fails the tool.
std::vector<std::u32string> FoldedItems(const Matrix& column) {
  std::vector<std::u32string> items;
  items.reserve(static_cast<size_t>(column.Rows()));
  for (int32_t r = 0; r < column.Rows(); ++r)
    items.push_back(FoldForSearch(ValueToText(column.At(r, 0))));
  return items;
}

// A column of `source`'s items where `keep` says so, blanks elsewhere.
Matrix Pick(const Matrix& source, const std::vector<bool>& found, bool keep) {
  Matrix out(source.Rows(), 1);
  for (int32_t r = 0; r < source.Rows(); ++r) {
    if (found[static_cast<size_t>(r)] == keep) out.At(r, 0) = source.At(r, 0);
  }
  return out;
}

}  // namespace

void CompareTwoColumns(Context& ctx) {
  Host& host = ctx.host;
  MessageBoxRequest intro;
  intro.text = kIntroText;
  intro.title = "提示";
  intro.buttons = Buttons::OkCancel;
  if (ctx.ui.MessageBox(intro) == Answer::Cancel) return;

  // Nothing is trapped here: a failing step ends the tool with what it has written.
  ComputeGridState(ctx);
  const int32_t n = ctx.regionRows - 1;
  if (n < 1) return;  // only the title row: nothing to compare, nothing written
  const SheetRef sheet = host.ActiveSheet();
  const int32_t top = ctx.curRow + 1;
  const int32_t last = ctx.curRow + n;
  const Matrix left = host.GetValues(sheet, Area::Of(top, ctx.curCol + 1, last, ctx.curCol + 1));
  const Matrix right = host.GetValues(sheet, Area::Of(top, ctx.curCol + 2, last, ctx.curCol + 2));
  const std::vector<std::u32string> leftItems = FoldedItems(left);
  const std::vector<std::u32string> rightItems = FoldedItems(right);

  const std::vector<bool> leftInRight = FoundInAny(leftItems, rightItems);
  host.SetValues(sheet, Cell{top, ctx.curCol + 3}, Pick(left, leftInRight, false));
  host.SetValues(sheet, Cell{top, ctx.curCol + 4}, Pick(left, leftInRight, true));

  const std::vector<bool> rightInLeft = FoundInAny(rightItems, leftItems);
  host.SetValues(sheet, Cell{top, ctx.curCol + 5}, Pick(right, rightInLeft, false));

  Matrix headers(1, 3);
  headers.At(0, 0) = Value::Text("左有右无");
  headers.At(0, 1) = Value::Text("左右同有");
  headers.At(0, 2) = Value::Text("左无右有");
  host.SetValues(sheet, Cell{ctx.curRow, ctx.curCol + 3}, headers);
}

}  // namespace tezlo
