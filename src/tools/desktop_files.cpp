// "*13": the names of the items in the user's desktop folder on a new sheet, one per row.
#include <string>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "tools/data_tools.h"

namespace tezlo {

void ListDesktopFiles(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);
  const SheetRef target = host.AddSheetAfter(host.ActiveSheet());
  // Nothing is trapped: a desktop that cannot be read leaves the sheet empty, and a failing
  // write ends the list with the names written so far.
  const std::vector<std::string> names = ctx.system.DesktopItems();
  int32_t row = 1;
  for (const std::string& name : names) {
    host.SetValue(target, Cell{row, 1}, Value::Text(name));
    ++row;
  }
}

}  // namespace tezlo
