// What each sheet's window remembers: its selection with the active cell, and the top-left
// visible cell.
#pragma once

#include "host/cell.h"

namespace tezlo {

struct SheetView {
  Selection selection{{Area::Of(Cell{1, 1})}, Cell{1, 1}};
  Cell scroll{1, 1};  // ScrollRow, ScrollColumn
  bool operator==(const SheetView&) const = default;
};

}  // namespace tezlo
