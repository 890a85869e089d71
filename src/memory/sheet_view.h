// What each sheet's window remembers: its selection with the active cell, and the top-left
// visible cell.
#pragma once

#include <memory>

#include "host/cell.h"

namespace tezlo {

struct KeptSheetXml;  // the file layer's, see files/kept_content.h

struct SheetView {
  Selection selection{{Area::Of(Cell{1, 1})}, Cell{1, 1}};
  Cell scroll{1, 1};  // ScrollRow, ScrollColumn
  // What the file layer keeps of the worksheet the sheet was read from (panes, view settings,
  // elements and attributes the engine does not model); null for a new sheet.
  std::shared_ptr<const KeptSheetXml> kept;
  // Views are equal when they show the same; what the file layer keeps does not count.
  bool operator==(const SheetView& other) const {
    return selection == other.selection && scroll == other.scroll;
  }
};

}  // namespace tezlo
