// The process-wide shared variables of one running command, together with the host, the dialogs
// and the operating system the tools work against. Tools are free functions taking a Context&;
// a fresh Context stands for a freshly started process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dispatch/tool_table.h"
#include "host/cell.h"
#include "host/host.h"
#include "host/system.h"
#include "host/ui.h"

namespace tezlo {

// A range reference: one rectangular area on one sheet. "Nothing" is an empty optional.
struct RangeRef {
  SheetRef sheet;
  Area area;
  bool operator==(const RangeRef&) const = default;
};

// What the dispatcher does with the next command.
enum class Flow : int16_t {
  GoOn = 0,          // run it
  Stop = 1,          // the current command stops here (a refusal)
  SkipNextOnce = 2,  // a pointer readout is in the box: the next dispatch only goes back to GoOn
};

struct Context {
  Context(Host& h, Ui& u, System& s) : host(h), ui(u), system(s) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  Host& host;
  Ui& ui;
  System& system;

  // The table the dispatcher runs each command through (it outlives the Context); a code no row
  // matches runs nothing.
  ToolTable tools;

  // The last code entered in the command box, blanks trimmed.
  std::string funcCode;
  Flow flowFlag = Flow::GoOn;
  // What stopped the last command when a fault of ours did (not a refusal); empty otherwise.
  std::optional<std::string> internalError;

  // Workbook context, set by the preparation before every command.
  int16_t blockWidth = 0;
  int16_t firstDataRow = 0;
  int16_t sheetIndex = 0;
  int32_t lastBlockCol = 0;
  int32_t sheetRows = 0;
  int32_t sheetCols = 0;
  std::string sheetName;
  SheetRef activeWs;

  // Grid state: the topic block around the active cell.
  int32_t curRow = 0;
  int32_t curCol = 0;
  int32_t regionTop = 0;
  int32_t regionBottom = 0;
  int32_t regionRows = 0;
  int32_t regionCols = 0;
  int32_t regionLastRow = 0;
  int32_t regionLastCol = 0;
  std::optional<RangeRef> curRegion;
  std::optional<RangeRef> regionBody;

  // The used range's bottom-right corner after slimming.
  int32_t usedLastRow = 0;
  int32_t usedLastCol = 0;
};

}  // namespace tezlo
