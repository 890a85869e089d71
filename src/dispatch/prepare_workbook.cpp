#include "dispatch/prepare_workbook.h"

#include <cmath>
#include <optional>

#include "dispatch/checked_math.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/helpers.h"
#include "host/grid_limits.h"

namespace tezlo {
namespace {

const Cell kSettingsCell{1, 10};  // J1: the topic index's height in rows
constexpr int16_t kDefaultFirstDataRow = 51;

// 50 x floor(J1 / 50) + 1 as a 16-bit value; HostError when it does not fit.
int16_t IndexEndFromSetting(double setting) {
  const double v = 50.0 * std::floor(setting / 50.0) + 1.0;
  if (!(v >= INT16_MIN && v <= INT16_MAX)) throw HostError("Overflow");
  return CheckedInt16(static_cast<int64_t>(v));
}

// The sheet of the active workbook named exactly `name`, if any. A sheet whose name cannot be
// read is passed over.
std::optional<SheetRef> FindSheet(Context& ctx, const std::string& name) {
  const int32_t book = ctx.host.ActiveWorkbook();
  const int32_t count = ctx.host.SheetCount(book);
  for (int32_t i = 1; i <= count; ++i) {
    const SheetRef sheet{book, i};
    bool same = false;
    Step([&] { same = ctx.host.SheetName(sheet) == name; });
    if (same) return sheet;
  }
  return std::nullopt;
}

// Adds the working sheet `name` after the active sheet when the workbook has none. A refused
// insertion or renaming is skipped; an added sheet that cannot be renamed keeps its own name.
void EnsureSheet(Context& ctx, const std::string& name) {
  bool present = false;
  if (!Step([&] { present = FindSheet(ctx, name).has_value(); })) return;
  if (present) return;
  std::optional<SheetRef> added;
  Step([&] { added = ctx.host.AddSheetAfter(ctx.host.ActiveSheet()); });
  if (added) Step([&] { ctx.host.RenameSheet(*added, name); });
}

bool IsWorkingSheet(const std::string& name) {
  for (const char* working : kWorkingSheets) {
    if (name == working) return true;
  }
  return false;
}

}  // namespace

std::string NotAWorkingSheetMessage(const std::string& sheetName) {
  return "活动工作表是" + sheetName + "不是“+1”或“+2”或“+3”表，这样可能出错。现选“+1”表并退出。";
}

void PrepareWorkbook(Context& ctx) {
  Host& host = ctx.host;
  Step([&] { host.SetScreenUpdating(true); });

  // The topic index's height: a failing read or an overflow leaves v at 0, which gives 51.
  int16_t v = 0;
  Step([&] {
    const Value setting = host.GetValue(host.ActiveSheet(), kSettingsCell);
    v = IndexEndFromSetting(LeadingNumber(ValueToText(setting)));
  });
  ctx.firstDataRow = (v > 50 && v < 301) ? v : kDefaultFirstDataRow;

  EnsureSheet(ctx, "+2");
  EnsureSheet(ctx, "+1");

  Step([&] {
    const Selection selection = host.GetSelection();
    if (!selection.areas.empty())
      ctx.curRegion = RangeRef{host.ActiveSheet(), selection.areas.front()};
  });
  Step([&] { ctx.activeWs = host.ActiveSheet(); });

  // blockWidth is 13 times the digit after "+" in the sheet's name, at most 5 times.
  int16_t blocks = 0;
  Step([&] { blocks = CheckedInt16(ToWholeNumber(Mid(host.SheetName(ctx.activeWs), 2, 1))); });
  if (blocks > 5) blocks = 5;
  Step([&] { ctx.blockWidth = CheckedInt16(int64_t{kBlockWidth} * blocks); });

  Step([&] { ctx.sheetIndex = CheckedInt16(host.ActiveSheet().sheet); });
  Step([&] { ctx.sheetRows = host.RowsCount(); });
  Step([&] { ctx.sheetCols = host.ColumnsCount(); });
  Step([&] { ctx.curRow = host.ActiveCell().row; });
  Step([&] {
    ctx.lastBlockCol = CheckedInt32(FloorDiv(ctx.sheetCols, ctx.blockWidth) * ctx.blockWidth + 1);
  });

  ctx.flowFlag = Flow::GoOn;
  Step([&] { ctx.sheetName = host.SheetName(host.ActiveSheet()); });

  if (!IsWorkingSheet(ctx.sheetName)) {
    Step([&] {
      MessageBoxRequest notice;
      notice.text = NotAWorkingSheetMessage(ctx.sheetName);
      notice.buttons = Buttons::Ok;
      ctx.ui.MessageBox(notice);
    });
    ctx.flowFlag = Flow::Stop;
    Step([&] {
      const std::optional<SheetRef> first = FindSheet(ctx, "+1");
      if (!first) throw HostError("Subscript out of range");
      host.ActivateSheet(*first);
    });
    Step([&] { GoToCell(ctx, Cell{1, 1}); });
  }

  Step([&] { host.SetScreenUpdating(true); });
}

}  // namespace tezlo
