// The spreadsheet host as the tools see it. Every operation names the Excel member it stands for
// and behaves as that member does: same result, same refusal. A refusal is a HostError.
//
// Sheets are addressed by SheetRef (workbook index, sheet index, both 1-based and shifting as
// workbooks and sheets come and go, exactly like Workbooks(i).Sheets(j)). Cell operations take
// the sheet explicitly; ActiveSheet() gives the one most tools work on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/cell.h"
#include "host/matrix.h"
#include "host/value.h"

namespace tezlo {

class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  virtual ~Host() = default;

  // ---- Application -------------------------------------------------------------------------
  // Rows.Count / Columns.Count of the active workbook's sheets.
  virtual int32_t RowsCount() = 0;
  virtual int32_t ColumnsCount() = 0;
  // Application.ScreenUpdating.
  virtual bool ScreenUpdating() = 0;
  virtual void SetScreenUpdating(bool on) = 0;
  // Application.DisplayAlerts. While off, deletions ask nothing and SaveAs replaces silently.
  virtual bool DisplayAlerts() = 0;
  virtual void SetDisplayAlerts(bool on) = 0;

  // ---- Workbooks ---------------------------------------------------------------------------
  // Workbooks.Count.
  virtual int32_t WorkbookCount() = 0;
  // Index of ActiveWorkbook in Workbooks; HostError when no workbook is open.
  virtual int32_t ActiveWorkbook() = 0;
  // Workbooks.Add: a new workbook with the default sheets; it becomes active. Returns its index.
  virtual int32_t AddWorkbook() = 0;
  // Workbooks(i).Activate.
  virtual void ActivateWorkbook(int32_t book) = 0;
  // Workbooks(i).Name.
  virtual std::string WorkbookName(int32_t book) = 0;
  // Workbooks(name): the index of the open workbook with that name, compared without regard to
  // case; HostError when none is open.
  virtual int32_t FindWorkbook(const std::string& name) = 0;
  // Workbooks(i).SaveAs path: HostError when the file cannot be written.
  virtual void SaveWorkbookAs(int32_t book, const std::string& path) = 0;
  // Workbooks(i).Close SaveChanges.
  virtual void CloseWorkbook(int32_t book, bool saveChanges) = 0;

  // ---- Sheets of a workbook ----------------------------------------------------------------
  // Workbooks(i).Worksheets.Count.
  virtual int32_t SheetCount(int32_t book) = 0;
  // ActiveSheet (of the active workbook).
  virtual SheetRef ActiveSheet() = 0;
  // Worksheet.Name.
  virtual std::string SheetName(SheetRef sheet) = 0;
  // Worksheet.Name = name: at most 31 characters, none of : \ / ? * [ ], not empty, unique in its
  // workbook without regard to case; HostError otherwise.
  virtual void RenameSheet(SheetRef sheet, const std::string& name) = 0;
  // Sheets.Add After:=sheet: a new empty sheet named "SheetN" (the next free N) right after
  // `sheet`; it becomes the active sheet. Returns it.
  virtual SheetRef AddSheetAfter(SheetRef sheet) = 0;
  // Worksheet.Delete: HostError for the workbook's last sheet.
  virtual void DeleteSheet(SheetRef sheet) = 0;
  // Worksheet.Activate (activates its workbook too).
  virtual void ActivateSheet(SheetRef sheet) = 0;

  // ---- Cursor and window (active workbook's active window) ---------------------------------
  // ActiveCell.
  virtual Cell ActiveCell() = 0;
  // Selection: its areas and the active cell.
  virtual Selection GetSelection() = 0;
  // Range.Select of the given areas, with `active` made the active cell; HostError when an area
  // lies outside the sheet or `active` is outside every area.
  virtual void Select(const Selection& selection) = 0;
  // Range.Activate: a cell inside the selection only becomes the active cell; any other cell
  // becomes the whole selection.
  virtual void ActivateCell(Cell cell) = 0;
  // ActiveWindow.ScrollRow / ScrollColumn: the top-left visible cell (Panes(1).VisibleRange's
  // first cell).
  virtual Cell TopLeftVisibleCell() = 0;
  virtual void SetScrollRow(int32_t row) = 0;
  virtual void SetScrollColumn(int32_t col) = 0;
  // ActiveWindow.VisibleRange row and column counts.
  virtual int32_t VisibleRows() = 0;
  virtual int32_t VisibleColumns() = 0;
  // SendKeys "{F2}", True: open the active cell for editing.
  virtual void BeginEditing() = 0;

  // ---- Cell contents -----------------------------------------------------------------------
  // Range.Value of one cell (a formula cell gives its last value).
  virtual Value GetValue(SheetRef sheet, Cell cell) = 0;
  // Range.Value = value. A text value is taken as if typed ("00123" becomes 123, "'0" the text
  // 0), except in a cell formatted "@", which keeps text. Replaces any formula.
  virtual void SetValue(SheetRef sheet, Cell cell, const Value& value) = 0;
  // Range.Value of an area, in one transfer.
  virtual Matrix GetValues(SheetRef sheet, Area area) = 0;
  // Range(topLeft).Resize(rows, cols).Value = values: each value as SetValue writes it.
  virtual void SetValues(SheetRef sheet, Cell topLeft, const Matrix& values) = 0;
  // Range.Text: the value as the cell shows it in its number format.
  virtual std::string GetText(SheetRef sheet, Cell cell) = 0;
  // Range.Formula: the formula ("=..."), or for a constant the value as typed text.
  virtual std::string GetFormula(SheetRef sheet, Cell cell) = 0;
  virtual bool HasFormula(SheetRef sheet, Cell cell) = 0;
  // Range.Formula = formula, keeping `lastValue` as the value it shows until recalculated.
  virtual void SetFormula(SheetRef sheet, Cell cell, const std::string& formula,
                          const Value& lastValue) = 0;
  // Range.ClearContents: values and formulas go, formats and comments stay.
  virtual void ClearContents(SheetRef sheet, Area area) = 0;

  // ---- Navigation and worksheet functions --------------------------------------------------
  // Range.End(direction) from one cell.
  virtual Cell End(SheetRef sheet, Cell from, Direction direction) = 0;
  // WorksheetFunction.CountA: the number of non-empty cells.
  virtual int64_t CountA(SheetRef sheet, Area area) = 0;
  // WorksheetFunction.Match(lookup, area, 0) over a one-row or one-column area: the 1-based
  // position of the first equal value (text without regard to case, with * ? ~ wildcards).
  // HostError when nothing matches or the area is not one row or one column.
  virtual int32_t Match(SheetRef sheet, const Value& lookup, Area area) = 0;
  // UsedRange: from the first to the last row and column that hold content or a format of their
  // own; A1 alone on an empty sheet.
  virtual Area UsedRange(SheetRef sheet) = 0;

  // ---- Structure ---------------------------------------------------------------------------
  // Range.Insert Shift:=xlDown: empty cells in `area`, the cells below in its columns move down.
  // HostError, with nothing changed, when a non-empty cell would be pushed off the sheet.
  virtual void InsertShiftDown(SheetRef sheet, Area area) = 0;
  // Range.Delete Shift:=xlUp: the cells below in the area's columns move up.
  virtual void DeleteShiftUp(SheetRef sheet, Area area) = 0;
  // Rows(first:last).Delete / EntireRow.Delete: heights and row formats move too.
  virtual void DeleteRows(SheetRef sheet, int32_t first, int32_t last) = 0;
  // Columns(first:last).Delete / EntireColumn.Delete: widths and column formats move too.
  virtual void DeleteColumns(SheetRef sheet, int32_t first, int32_t last) = 0;
  // Range.Sort Key1:=column, Order1:=ascending or descending, no header: whole rows of the area
  // are reordered by the key column; numbers, then text, then booleans, then errors, blanks last.
  // HostError when the key column lies outside the area.
  virtual void Sort(SheetRef sheet, Area area, int32_t keyColumn, bool descending) = 0;
  // Range.Copy Destination:=...: values, formulas, formats and comments of `area` go to the
  // same-sized range whose top-left cell is `destTopLeft`, on any sheet of any open workbook.
  virtual void Copy(SheetRef from, Area area, SheetRef to, Cell destTopLeft) = 0;

  // ---- Comments ----------------------------------------------------------------------------
  // Range.Comment Is Nothing.
  virtual bool HasComment(SheetRef sheet, Cell cell) = 0;
  // Range.Comment.Text: HostError when the cell has no comment. Line breaks are kept.
  virtual std::string CommentText(SheetRef sheet, Cell cell) = 0;
  // Range.ClearComments.
  virtual void ClearComments(SheetRef sheet, Area area) = 0;
  // Range.AddComment text: HostError when the cell has a comment already.
  virtual void AddComment(SheetRef sheet, Cell cell, const std::string& text) = 0;
  // Range.Comment.Text Text:=text: HostError when the cell has no comment.
  virtual void SetCommentText(SheetRef sheet, Cell cell, const std::string& text) = 0;

  // ---- Sizes -------------------------------------------------------------------------------
  // Columns(col).ColumnWidth: width in characters of the default font's widest digit.
  virtual double ColumnWidth(SheetRef sheet, int32_t col) = 0;
  // Columns(col).Width: width in points.
  virtual double ColumnWidthPoints(SheetRef sheet, int32_t col) = 0;
  // Columns(first:last).ColumnWidth = chars: 0 to 255, HostError otherwise.
  virtual void SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) = 0;
  // Rows(row).RowHeight (= Height): points; 0 for a hidden row.
  virtual double RowHeight(SheetRef sheet, int32_t row) = 0;
  // Rows(first:last).RowHeight = points: 0 (hides) to 409, HostError otherwise.
  virtual void SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) = 0;

  // ---- Formats -----------------------------------------------------------------------------
  // Interior.ColorIndex of a cell: 1 to 56, or 0 for none (xlColorIndexNone).
  virtual int32_t ColorIndex(SheetRef sheet, Cell cell) = 0;
  // Range.Interior.ColorIndex = index (0 clears): HostError outside 0 to 56.
  virtual void SetColorIndex(SheetRef sheet, Area area, int32_t index) = 0;
  // Columns(first:last).Interior.ColorIndex = index: stored once per column.
  virtual void SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) = 0;
  // Range.NumberFormat ("General", "@", "yyyy-mm-dd", ...).
  virtual std::string NumberFormat(SheetRef sheet, Cell cell) = 0;
  virtual void SetNumberFormat(SheetRef sheet, Area area, const std::string& format) = 0;
  // Range.NumberFormatLocal = format, with the Simplified-Chinese local names ("G/通用格式" for
  // General).
  virtual void SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) = 0;
};

}  // namespace tezlo
