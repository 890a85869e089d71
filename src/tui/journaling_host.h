// The host the workbench's commands run against: it forwards every call to the in-memory host
// and, before each change, records what the change will overwrite, so that a whole command
// (every change of a function code, added sheets included) or one cell edit can be undone and
// redone as one step.
//
// Why a journal and not a snapshot: copying a 1,040,000-cell workbook before every command
// costs tens of milliseconds and as much memory again per undo level, while a command usually
// touches a few rows. The journal records, per change, only what that change overwrites: the
// cells of the written area, the few cells pushed off the bottom by an insertion (the shift
// itself is undone by the opposite shift), and once per sheet and command its frame (name,
// view, sizes, column formats). So "+3" on the big sheet records 39 cells and a frame, and a
// command costs memory in proportion to what it changed. Deletions in a workbook that may hold
// formulas copy the sheets holding them once per command instead, since removed cells turn
// references to them into errors that no opposite shift brings back.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "host/host_wrapper.h"
#include "memory/memory_host.h"
#include "tui/undo_steps.h"

namespace tezlo {

// Which workbook and which of its sheets were active.
struct Focus {
  int32_t book = 0;
  int32_t sheet = 0;
};

struct UndoEntry {
  std::string label;
  StepList steps;
  Focus before;
  Focus after;
};

// Forwards every operation to the in-memory host (HostWrapper); those overridden here record
// what they change, or report progress.
class JournalingHost final : public HostWrapper {
 public:
  explicit JournalingHost(MemoryHost& inner) : HostWrapper(inner), inner_(inner) {}

  MemoryHost& Inner() { return inner_; }
  // Starts recording a command; what was recorded before is dropped.
  void BeginCommand();
  // Ends it: the entry holds every step recorded since BeginCommand (none when nothing changed).
  UndoEntry EndCommand(std::string label);
  Focus CurrentFocus();

  // Called now and then during long work with the seconds since the command began.
  void SetProgress(std::function<void(double)> progress) { progress_ = std::move(progress); }

  int32_t AddWorkbook() override;
  void CloseWorkbook(int32_t book, bool saveChanges) override;
  void RenameSheet(SheetRef sheet, const std::string& name) override;
  SheetRef AddSheetAfter(SheetRef sheet) override;
  void DeleteSheet(SheetRef sheet) override;
  void Select(const Selection& selection) override;
  void ActivateCell(Cell cell) override;
  void SetScrollRow(int32_t row) override;
  void SetScrollColumn(int32_t col) override;
  Value GetValue(SheetRef sheet, Cell cell) override;
  void SetValue(SheetRef sheet, Cell cell, const Value& value) override;
  void SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) override;
  std::string GetText(SheetRef sheet, Cell cell) override;
  std::string GetFormula(SheetRef sheet, Cell cell) override;
  void SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                  const Value& lastValue) override;
  void ClearContents(SheetRef sheet, Area area) override;
  Cell End(SheetRef sheet, Cell from, Direction direction) override;
  int32_t Match(SheetRef sheet, const Value& lookup, Area area) override;
  void InsertShiftDown(SheetRef sheet, Area area) override;
  void DeleteShiftUp(SheetRef sheet, Area area) override;
  void DeleteRows(SheetRef sheet, int32_t first, int32_t last) override;
  void DeleteColumns(SheetRef sheet, int32_t first, int32_t last) override;
  void Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) override;
  void Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) override;
  void ClearComments(SheetRef sheet, Area area) override;
  void AddComment(SheetRef sheet, Cell cell, const std::string& text) override;
  void SetCommentText(SheetRef sheet, Cell cell, const std::string& text) override;
  void SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) override;
  void SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) override;
  void SetColorIndex(SheetRef sheet, Area area, int32_t index) override;
  void SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) override;
  void SetNumberFormat(SheetRef sheet, Area area, const std::string& format) override;
  void SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) override;

 private:
  // Counts calls and reports progress now and then.
  void Tick();
  // The sheet's frame, once per sheet and command; false when the sheet is copied whole already.
  bool Touch(SheetRef sheet);
  void RecordCells(SheetRef sheet, const Area& area);
  // Copies whole every sheet of the workbook that may hold formulas, and `sheet`.
  // Returns true when `sheet` is covered by a copy now.
  bool CopySheetsForDeletion(SheetRef sheet);

  MemoryHost& inner_;
  StepList steps_;
  Focus before_;
  std::set<const Sheet*> framed_;
  std::set<const Sheet*> copied_;
  std::function<void(double)> progress_;
  uint32_t calls_ = 0;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point reported_ = started_;
};

}  // namespace tezlo
