// The pieces an undo entry is made of. Each step puts back one part of a workbook as it was and
// returns the step that puts back what it replaced, so that undoing an entry yields its redo
// entry and redoing yields the undo entry again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/cell.h"
#include "memory/column_store.h"
#include "memory/memory_host.h"

namespace tezlo {

class UndoStep {
 public:
  UndoStep() = default;
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;
  virtual ~UndoStep() = default;
  // Restores what the step holds; returns the step that restores what was there instead.
  virtual std::unique_ptr<UndoStep> Apply(MemoryHost& host) = 0;
};
using StepList = std::vector<std::unique_ptr<UndoStep>>;

// The stored cells of one area, column by column.
struct CellImage {
  Area area;
  std::vector<std::pair<int32_t, std::vector<ColumnStore::Entry>>> columns;
};
CellImage CaptureCells(const Sheet& sheet, const Area& area);

// The cells of an area as they were: O(stored cells in the area).
std::unique_ptr<UndoStep> CellsStep(SheetRef sheet, CellImage image);
// Everything of a sheet but its cells (name, view, sizes, column formats, merged areas).
std::unique_ptr<UndoStep> FrameStep(SheetRef sheet, Sheet& now);
// A whole sheet: restored by swapping it in, in constant time.
std::unique_ptr<UndoStep> SheetStep(SheetRef sheet, Sheet copy);
// Cells moved by an insertion or deletion with shift: undone by the opposite shift.
std::unique_ptr<UndoStep> ShiftStep(SheetRef sheet, Area area, bool down);
// Whole rows or columns of cells removed (`insert` false) or opened up again (`insert` true),
// cells only: the sizes belong to the sheet's frame.
std::unique_ptr<UndoStep> RowsStep(SheetRef sheet, int32_t first, int32_t count, bool insert);
std::unique_ptr<UndoStep> ColumnsStep(SheetRef sheet, int32_t first, int32_t count, bool insert);
// A sheet put back at its place, or taken out again.
std::unique_ptr<UndoStep> InsertSheetStep(SheetRef at, Sheet content);
std::unique_ptr<UndoStep> RemoveSheetStep(SheetRef at);
// A workbook opened again (at the end of the list), or closed.
std::unique_ptr<UndoStep> ReopenWorkbookStep(std::unique_ptr<Workbook> book);
std::unique_ptr<UndoStep> CloseWorkbookStep(int32_t book);

// A deep copy of a sheet without its cells, and of a whole workbook.
Sheet CopyFrame(Sheet& sheet);
std::unique_ptr<Workbook> CopyWorkbook(const Workbook& book);

}  // namespace tezlo
