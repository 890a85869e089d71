// The port onto LibreOffice Calc: every operation is the Excel member its comment in host/host.h
// names, carried out through LibreOffice's API on a running office (C++ UNO over a connection,
// see calc/office_connection.h), with the result and the refusals of the memory engine.
//
// The host's workbooks are the spreadsheet documents it added or was given, in that order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "calc/excel_formulas.h"
#include "calc/office_connection.h"
#include "calc/uno_text.h"
#include "host/host.h"

namespace tezlo {

struct CalcSettings {
  int32_t sheetsInNewWorkbook = 3;  // Sheet1..SheetN in a new workbook, as Excel's default
  bool hidden = false;              // new documents get no visible window (tests, scripts)
  // Block writes into empty cells first give the undo list what LibreOffice's own undo of a
  // block transfer misses, so that the user's undo takes a command back whole.
  bool completeUndo = false;
};

class CalcHost final : public Host {
 public:
  // No workbook is open at first; AddWorkbook or AdoptDocument gives it one.
  CalcHost(OfficeConnection office, CalcSettings settings);
  ~CalcHost() override;

  // Makes an open spreadsheet document one of the host's workbooks (the last, and active).
  int32_t AdoptDocument(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& doc,
                        const std::string& name);
  // The document of workbook `book`; HostError out of range.
  css::uno::Reference<css::sheet::XSpreadsheetDocument> Document(int32_t book) const;
  // Closes, without saving, every workbook the host still holds.
  void CloseAll();
  // For a host living inside the office, before each command: forgets the workbooks whose
  // documents have been closed since, and makes `current` the active workbook, adopting it
  // (under its file name, or its window title while it has none) when the host does not hold it.
  int32_t FollowDocument(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& current);
  // Forgets every workbook without closing it: the documents stay open in the office.
  void ReleaseAll();

  int32_t RowsCount() override;
  int32_t ColumnsCount() override;
  bool ScreenUpdating() override { return screenUpdating_; }
  void SetScreenUpdating(bool on) override;
  bool DisplayAlerts() override { return displayAlerts_; }
  void SetDisplayAlerts(bool on) override { displayAlerts_ = on; }

  int32_t WorkbookCount() override { return static_cast<int32_t>(books_.size()); }
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
  struct Book {
    css::uno::Reference<css::sheet::XSpreadsheetDocument> doc;
    std::string name;
    // Formulas in Excel's A1 notation with English function names, both ways.
    ExcelFormulas formulas;
    int32_t rows = 0;  // the grid of its sheets
    int32_t cols = 0;
    // The selection the host last made on each sheet, with its active cell, kept while the
    // document still shows it as Calc reported it then (the API reports a selection's areas
    // joined where they overlap, and not which cell in them is active).
    struct Chosen {
      Selection selection;
      std::vector<Area> reported;
    };
    std::map<int32_t, Chosen> chosen;
  };

  Book& BookAt(int32_t book);
  Book& ActiveBook();
  css::uno::Reference<css::sheet::XSpreadsheet> SheetOf(SheetRef sheet);
  css::uno::Reference<css::sheet::XSpreadsheetView> View(int32_t book);
  css::uno::Reference<css::table::XCellRange> RangeOf(SheetRef sheet, const Area& area);
  // HostError for a cell or an area outside the sheet (or a malformed area).
  void Check(SheetRef sheet, Cell cell);
  void Check(SheetRef sheet, const Area& area);
  void CheckRows(SheetRef sheet, int32_t first, int32_t last);
  void CheckCols(SheetRef sheet, int32_t first, int32_t last);
  int32_t SheetIndexOf(int32_t book, const OUString& name);
  css::table::CellRangeAddress AddressOf(SheetRef sheet, const Area& area) const;
  // The selection the document shows, without the active cell.
  std::vector<Area> SelectedAreas(int32_t book);
  // Writes values as typing them would, in one transfer plus the formats typing implies.
  void WriteTyped(SheetRef sheet, Cell topLeft, const Matrix& values);
  // Non-empty runs (first, last) along a one-row or one-column area, in order; `usedEnd` is the
  // sheet's used area's last cell (nothing lies beyond it).
  std::vector<std::pair<int32_t, int32_t>> ContentRuns(SheetRef sheet, const Area& line,
                                                       bool vertical, Cell usedEnd);

  OfficeConnection office_;
  CalcSettings settings_;
  std::vector<Book> books_;
  int32_t active_ = 0;
  int32_t booksCreated_ = 0;
  bool screenUpdating_ = true;
  bool displayAlerts_ = true;
};

}  // namespace tezlo
