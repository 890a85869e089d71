// "*14": every running process on a new sheet: name, owner, identifier, memory in kilobytes and
// executable path under five headers, written in one transfer.
#include <vector>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "host/host_error.h"
#include "tools/data_tools.h"

namespace tezlo {

void ListProcesses(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);
  // The sheet comes first: when the processes cannot be read it stays, empty.
  const SheetRef target = host.AddSheetAfter(host.ActiveSheet());
  const std::vector<ProcessInfo> processes = ctx.system.Processes();

  // One row per process, however many there are; a list longer than the sheet cannot be
  // written at all.
  if (processes.size() >= static_cast<size_t>(host.RowsCount())) throw HostError("Overflow");
  Matrix table(static_cast<int32_t>(processes.size()) + 1, 5);
  const char* headers[] = {"进程", "用户", "进程ID", "内存", "路径"};
  for (int32_t c = 0; c < 5; ++c) table.At(0, c) = Value::Text(headers[c]);
  int32_t row = 0;
  for (const ProcessInfo& p : processes) {
    ++row;
    table.At(row, 0) = Value::Text(p.name);
    table.At(row, 1) = Value::Text(p.owner);
    table.At(row, 2) = Value::Number(static_cast<double>(p.id));
    table.At(row, 3) = Value::Number(p.memoryKb);
    table.At(row, 4) = Value::Text(p.path);
  }
  host.SetValues(target, Cell{1, 1}, table);
}

}  // namespace tezlo
