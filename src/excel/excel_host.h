// The port onto a running Excel: every operation is the Excel member its comment in host/host.h
// names, called late-bound through IDispatch on the application object the add-in was given.
// Without an application (before connection, after disconnection) every operation fails with
// HostError, as a script's calls on Nothing would.
#pragma once

#include "com/win32.h"

#include "com/automation.h"
#include "host/host.h"

namespace tezlo {

class ExcelHost final : public Host {
 public:
  ExcelHost() = default;
  // The application object (xlApp); null to drop it.
  void SetApplication(IDispatch* application);
  const com::Object& Application() const { return app_; }

  int32_t RowsCount() override;
  int32_t ColumnsCount() override;
  bool ScreenUpdating() override;
  void SetScreenUpdating(bool on) override;
  bool DisplayAlerts() override;
  void SetDisplayAlerts(bool on) override;

  int32_t WorkbookCount() override;
  int32_t ActiveWorkbook() override;
  int32_t AddWorkbook() override;
  void ActivateWorkbook(int32_t book) override;
  std::string WorkbookName(int32_t book) override;
  int32_t FindWorkbook(const std::string& name) override;
  void SaveWorkbookAs(int32_t book, const std::string& path) override;
  void CloseWorkbook(int32_t book, bool saveChanges) override;

  int32_t SheetCount(int32_t book) override;
  SheetRef ActiveSheet() override;
  std::string SheetName(SheetRef sheet) override;
  void RenameSheet(SheetRef sheet, const std::string& name) override;
  SheetRef AddSheetAfter(SheetRef sheet) override;
  void DeleteSheet(SheetRef sheet) override;
  void ActivateSheet(SheetRef sheet) override;

  Cell ActiveCell() override;
  Selection GetSelection() override;
  void Select(const Selection& selection) override;
  void ActivateCell(Cell cell) override;
  Cell TopLeftVisibleCell() override;
  void SetScrollRow(int32_t row) override;
  void SetScrollColumn(int32_t col) override;
  int32_t VisibleRows() override;
  int32_t VisibleColumns() override;
  void BeginEditing() override;

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

  Cell End(SheetRef sheet, Cell from, Direction direction) override;
  int64_t CountA(SheetRef sheet, Area area) override;
  int32_t Match(SheetRef sheet, const Value& lookup, Area area) override;
  Area UsedRange(SheetRef sheet) override;

  void InsertShiftDown(SheetRef sheet, Area area) override;
  void DeleteShiftUp(SheetRef sheet, Area area) override;
  void DeleteRows(SheetRef sheet, int32_t first, int32_t last) override;
  void DeleteColumns(SheetRef sheet, int32_t first, int32_t last) override;
  void Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) override;
  void Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) override;

  bool HasComment(SheetRef sheet, Cell cell) override;
  std::string CommentText(SheetRef sheet, Cell cell) override;
  void ClearComments(SheetRef sheet, Area area) override;
  void AddComment(SheetRef sheet, Cell cell, const std::string& text) override;
  void SetCommentText(SheetRef sheet, Cell cell, const std::string& text) override;

  double ColumnWidth(SheetRef sheet, int32_t col) override;
  double ColumnWidthPoints(SheetRef sheet, int32_t col) override;
  void SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) override;
  double RowHeight(SheetRef sheet, int32_t row) override;
  void SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) override;

  int32_t ColorIndex(SheetRef sheet, Cell cell) override;
  void SetColorIndex(SheetRef sheet, Area area, int32_t index) override;
  void SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) override;
  std::string NumberFormat(SheetRef sheet, Cell cell) override;
  void SetNumberFormat(SheetRef sheet, Area area, const std::string& format) override;
  void SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) override;

 private:
  const com::Object& App() const;
  com::Object Book(int32_t book) const;
  com::Object Sheet(SheetRef sheet) const;
  com::Object CellAt(SheetRef sheet, Cell cell) const;
  com::Object RangeOf(SheetRef sheet, Area area) const;
  com::Object Columns(SheetRef sheet, int32_t first, int32_t last) const;
  com::Object Rows(SheetRef sheet, int32_t first, int32_t last) const;
  // The index of a workbook object in Workbooks, found by its name.
  int32_t IndexOfBook(const com::Object& book) const;

  com::Object app_;
};

// Excel's constants the adapter passes.
namespace xl {
constexpr int32_t kUp = -4162;
constexpr int32_t kDown = -4121;
constexpr int32_t kToLeft = -4159;
constexpr int32_t kToRight = -4161;
constexpr int32_t kAscending = 1;
constexpr int32_t kDescending = 2;
constexpr int32_t kNoHeader = 2;
constexpr int32_t kColorIndexNone = -4142;
}  // namespace xl

}  // namespace tezlo
