// A Host that forwards every operation to another host, as leveldb's EnvWrapper does for its Env:
// a host that adds something to some operations (the workbench's journal) derives from it and
// overrides only those. A new port operation is added here once, beside its declaration in
// host.h.
#pragma once

#include <string>

#include "host/host.h"

namespace tezlo {

class HostWrapper : public Host {
 public:
  explicit HostWrapper(Host& target) : target_(target) {}
  Host& Target() { return target_; }

  int32_t RowsCount() override { return target_.RowsCount(); }
  int32_t ColumnsCount() override { return target_.ColumnsCount(); }
  bool ScreenUpdating() override { return target_.ScreenUpdating(); }
  void SetScreenUpdating(bool on) override { target_.SetScreenUpdating(on); }
  bool DisplayAlerts() override { return target_.DisplayAlerts(); }
  void SetDisplayAlerts(bool on) override { target_.SetDisplayAlerts(on); }
  int32_t WorkbookCount() override { return target_.WorkbookCount(); }
  int32_t ActiveWorkbook() override { return target_.ActiveWorkbook(); }
  int32_t AddWorkbook() override { return target_.AddWorkbook(); }
  void ActivateWorkbook(int32_t book) override { target_.ActivateWorkbook(book); }
  std::string WorkbookName(int32_t book) override { return target_.WorkbookName(book); }
  int32_t FindWorkbook(const std::string& name) override { return target_.FindWorkbook(name); }
  void SaveWorkbookAs(int32_t book, const std::string& path) override {
    target_.SaveWorkbookAs(book, path);
  }
  void CloseWorkbook(int32_t book, bool saveChanges) override {
    target_.CloseWorkbook(book, saveChanges);
  }
  int32_t SheetCount(int32_t book) override { return target_.SheetCount(book); }
  SheetRef ActiveSheet() override { return target_.ActiveSheet(); }
  std::string SheetName(SheetRef sheet) override { return target_.SheetName(sheet); }
  void RenameSheet(SheetRef sheet, const std::string& name) override {
    target_.RenameSheet(sheet, name);
  }
  SheetRef AddSheetAfter(SheetRef sheet) override { return target_.AddSheetAfter(sheet); }
  void DeleteSheet(SheetRef sheet) override { target_.DeleteSheet(sheet); }
  void ActivateSheet(SheetRef sheet) override { target_.ActivateSheet(sheet); }
  Cell ActiveCell() override { return target_.ActiveCell(); }
  Selection GetSelection() override { return target_.GetSelection(); }
  void Select(const Selection& selection) override { target_.Select(selection); }
  void ActivateCell(Cell cell) override { target_.ActivateCell(cell); }
  Cell TopLeftVisibleCell() override { return target_.TopLeftVisibleCell(); }
  void SetScrollRow(int32_t row) override { target_.SetScrollRow(row); }
  void SetScrollColumn(int32_t col) override { target_.SetScrollColumn(col); }
  int32_t VisibleRows() override { return target_.VisibleRows(); }
  int32_t VisibleColumns() override { return target_.VisibleColumns(); }
  void BeginEditing() override { target_.BeginEditing(); }
  Value GetValue(SheetRef sheet, Cell cell) override { return target_.GetValue(sheet, cell); }
  void SetValue(SheetRef sheet, Cell cell, const Value& value) override {
    target_.SetValue(sheet, cell, value);
  }
  Matrix GetValues(SheetRef sheet, Area area) override { return target_.GetValues(sheet, area); }
  void SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) override {
    target_.SetValues(sheet, topLeft, values);
  }
  std::string GetText(SheetRef sheet, Cell cell) override { return target_.GetText(sheet, cell); }
  std::string GetFormula(SheetRef sheet, Cell cell) override {
    return target_.GetFormula(sheet, cell);
  }
  bool HasFormula(SheetRef sheet, Cell cell) override { return target_.HasFormula(sheet, cell); }
  void SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                  const Value& lastValue) override {
    target_.SetFormula(sheet, cell, formula, lastValue);
  }
  void ClearContents(SheetRef sheet, Area area) override { target_.ClearContents(sheet, area); }
  Cell End(SheetRef sheet, Cell from, Direction direction) override {
    return target_.End(sheet, from, direction);
  }
  int64_t CountA(SheetRef sheet, Area area) override { return target_.CountA(sheet, area); }
  int32_t Match(SheetRef sheet, const Value& lookup, Area area) override {
    return target_.Match(sheet, lookup, area);
  }
  Area UsedRange(SheetRef sheet) override { return target_.UsedRange(sheet); }
  void InsertShiftDown(SheetRef sheet, Area area) override { target_.InsertShiftDown(sheet, area); }
  void DeleteShiftUp(SheetRef sheet, Area area) override { target_.DeleteShiftUp(sheet, area); }
  void DeleteRows(SheetRef sheet, int32_t first, int32_t last) override {
    target_.DeleteRows(sheet, first, last);
  }
  void DeleteColumns(SheetRef sheet, int32_t first, int32_t last) override {
    target_.DeleteColumns(sheet, first, last);
  }
  void Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) override {
    target_.Sort(sheet, area, keyColumn, descending);
  }
  void Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) override {
    target_.Copy(from, area, to, destTopLeft);
  }
  bool HasComment(SheetRef sheet, Cell cell) override { return target_.HasComment(sheet, cell); }
  std::string CommentText(SheetRef sheet, Cell cell) override {
    return target_.CommentText(sheet, cell);
  }
  void ClearComments(SheetRef sheet, Area area) override { target_.ClearComments(sheet, area); }
  void AddComment(SheetRef sheet, Cell cell, const std::string& text) override {
    target_.AddComment(sheet, cell, text);
  }
  void SetCommentText(SheetRef sheet, Cell cell, const std::string& text) override {
    target_.SetCommentText(sheet, cell, text);
  }
  double ColumnWidth(SheetRef sheet, int32_t col) override {
    return target_.ColumnWidth(sheet, col);
  }
  double ColumnWidthPoints(SheetRef sheet, int32_t col) override {
    return target_.ColumnWidthPoints(sheet, col);
  }
  void SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) override {
    target_.SetColumnWidth(sheet, first, last, chars);
  }
  double RowHeight(SheetRef sheet, int32_t row) override { return target_.RowHeight(sheet, row); }
  void SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) override {
    target_.SetRowHeight(sheet, first, last, points);
  }
  int32_t ColorIndex(SheetRef sheet, Cell cell) override { return target_.ColorIndex(sheet, cell); }
  void SetColorIndex(SheetRef sheet, Area area, int32_t index) override {
    target_.SetColorIndex(sheet, area, index);
  }
  void SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) override {
    target_.SetColumnColorIndex(sheet, first, last, index);
  }
  std::string NumberFormat(SheetRef sheet, Cell cell) override {
    return target_.NumberFormat(sheet, cell);
  }
  void SetNumberFormat(SheetRef sheet, Area area, const std::string& format) override {
    target_.SetNumberFormat(sheet, area, format);
  }
  void SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) override {
    target_.SetNumberFormatLocal(sheet, area, format);
  }

 private:
  Host& target_;
};

}  // namespace tezlo
