// The spreadsheet host held in memory: workbooks, sheets and cells with the spreadsheet's
// behaviour, for the tests, the batch runner and the terminal workbench.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "memory/memory_settings.h"
#include "memory/workbook.h"
#include "memory/workbook_saver.h"

namespace tezlo {

class MemoryHost final : public Host {
 public:
  // Opens one new workbook "Book1": Sheet1..Sheet3, Sheet1 active, A1 selected, scrolled to A1.
  explicit MemoryHost(MemorySettings settings = {});

  // Applies to workbooks added afterwards (grid size, sheet count, digit width) and to the
  // window at once (visible rows and columns).
  MemorySettings& Settings() { return settings_; }
  // BeginEditing() was called since the last ClearEditingRequest().
  bool EditingRequested() const { return editingRequested_; }
  void ClearEditingRequest() { editingRequested_ = false; }

  // ---- The workbook model, for the file layer ----
  // 1-based, as WorkbookCount(); HostError out of range.
  Workbook& GetWorkbook(int32_t book);
  const Workbook& GetWorkbook(int32_t book) const;
  Sheet& GetSheet(SheetRef sheet);
  // Opens a workbook made elsewhere (read from a file); it becomes active. Returns its index.
  int32_t OpenWorkbook(std::unique_ptr<Workbook> book);
  // What SaveWorkbookAs writes through; without one it throws HostError.
  void SetSaver(WorkbookSaver saver) { saver_ = std::move(saver); }

  // ---- Application ----
  int32_t RowsCount() override;
  int32_t ColumnsCount() override;
  bool ScreenUpdating() override { return screenUpdating_; }
  void SetScreenUpdating(bool on) override { screenUpdating_ = on; }
  bool DisplayAlerts() override { return displayAlerts_; }
  void SetDisplayAlerts(bool on) override { displayAlerts_ = on; }

  // ---- Workbooks ----
  int32_t WorkbookCount() override { return static_cast<int32_t>(books_.size()); }
  int32_t ActiveWorkbook() override;
  int32_t AddWorkbook() override;
  void ActivateWorkbook(int32_t book) override;
  std::string WorkbookName(int32_t book) override;
  int32_t FindWorkbook(const std::string& name) override;
  void SaveWorkbookAs(int32_t book, const std::string& path) override;
  void CloseWorkbook(int32_t book, bool saveChanges) override;

  // ---- Sheets ----
  int32_t SheetCount(int32_t book) override;
  SheetRef ActiveSheet() override;
  std::string SheetName(SheetRef sheet) override;
  void RenameSheet(SheetRef sheet, const std::string& name) override;
  SheetRef AddSheetAfter(SheetRef sheet) override;
  void DeleteSheet(SheetRef sheet) override;
  void ActivateSheet(SheetRef sheet) override;

  // ---- Cursor and window ----
  Cell ActiveCell() override;
  Selection GetSelection() override;
  void Select(const Selection& selection) override;
  void ActivateCell(Cell cell) override;
  Cell TopLeftVisibleCell() override;
  void SetScrollRow(int32_t row) override;
  void SetScrollColumn(int32_t col) override;
  int32_t VisibleRows() override { return settings_.visibleRows; }
  int32_t VisibleColumns() override { return settings_.visibleCols; }
  void BeginEditing() override;

  // ---- Cell contents ----
  Value GetValue(SheetRef sheet, Cell cell) override;
  void SetValue(SheetRef sheet, Cell cell, const Value& value) override;
  Matrix GetValues(SheetRef sheet, Area area) override;
  void SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) override;
  std::string GetText(SheetRef sheet, Cell cell) override;
  std::string GetFormula(SheetRef sheet, Cell cell) override;
  bool HasFormula(SheetRef sheet, Cell cell) override;
  void SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                  const Value& lastValue) override;
  void ClearContents(SheetRef sheet, Area area) override;

  // ---- Navigation and worksheet functions ----
  Cell End(SheetRef sheet, Cell from, Direction direction) override;
  int64_t CountA(SheetRef sheet, Area area) override;
  int32_t Match(SheetRef sheet, const Value& lookup, Area area) override;
  Area UsedRange(SheetRef sheet) override;

  // ---- Structure ----
  void InsertShiftDown(SheetRef sheet, Area area) override;
  void DeleteShiftUp(SheetRef sheet, Area area) override;
  void DeleteRows(SheetRef sheet, int32_t first, int32_t last) override;
  void DeleteColumns(SheetRef sheet, int32_t first, int32_t last) override;
  void Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) override;
  void Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) override;

  // ---- Comments ----
  bool HasComment(SheetRef sheet, Cell cell) override;
  std::string CommentText(SheetRef sheet, Cell cell) override;
  void ClearComments(SheetRef sheet, Area area) override;
  void AddComment(SheetRef sheet, Cell cell, const std::string& text) override;
  void SetCommentText(SheetRef sheet, Cell cell, const std::string& text) override;

  // ---- Sizes ----
  double ColumnWidth(SheetRef sheet, int32_t col) override;
  double ColumnWidthPoints(SheetRef sheet, int32_t col) override;
  void SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) override;
  double RowHeight(SheetRef sheet, int32_t row) override;
  void SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) override;

  // ---- Formats ----
  int32_t ColorIndex(SheetRef sheet, Cell cell) override;
  void SetColorIndex(SheetRef sheet, Area area, int32_t index) override;
  void SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) override;
  std::string NumberFormat(SheetRef sheet, Cell cell) override;
  void SetNumberFormat(SheetRef sheet, Area area, const std::string& format) override;
  void SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) override;

 private:
  Workbook& Active();
  Sheet& ActiveSheetModel();
  // Writes one value as typing or assigning it would.
  void WriteValue(Sheet& sheet, Cell cell, const Value& value);
  // HostError for an area too large to format cell by cell (whole columns are formatted once).
  void CheckCellByCellArea(const Area& area) const;
  // Moves the window just enough to show `cell`.
  void ScrollIntoView(Sheet& sheet, Cell cell);

  MemorySettings settings_;
  std::vector<std::unique_ptr<Workbook>> books_;
  int32_t active_ = 0;        // 1-based; 0 when no workbook is open
  int32_t booksCreated_ = 0;  // numbers the names "BookK"
  bool screenUpdating_ = true;
  bool displayAlerts_ = true;
  bool editingRequested_ = false;
  WorkbookSaver saver_;
};

}  // namespace tezlo
