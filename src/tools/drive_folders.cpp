// "*20": the folder listing of every ready drive's root on a new sheet, one line per cell.
#include <string>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "tools/data_tools.h"

namespace tezlo {

void ListDriveFolders(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);
  const SheetRef target = host.AddSheetAfter(host.ActiveSheet());
  // Every step from here on is skipped when it fails: without a listing the sheet stays empty.
  std::vector<std::string> lines;
  Step([&] { lines = ctx.system.DriveFolderListing(); });
  if (lines.empty()) return;
  Matrix column(static_cast<int32_t>(lines.size()), 1);
  for (size_t i = 0; i < lines.size(); ++i)
    column.At(static_cast<int32_t>(i), 0) = Value::Text(lines[i]);
  Step([&] { host.SetValues(target, Cell{1, 1}, column); });
}

}  // namespace tezlo
