// One worksheet: its name, its size, its cells by column, column and row sizes, whole-column
// formats and the window's view of it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <queue>
#include <vector>
#include <string>

#include "host/cell.h"
#include "memory/cell_record.h"
#include "memory/column_store.h"
#include "memory/run_map.h"
#include "memory/sheet_view.h"
#include "memory/size_texts.h"

namespace tezlo {

inline constexpr double kDefaultColumnWidthChars = 8.43;
inline constexpr double kDefaultRowHeightPoints = 13.5;
inline constexpr const char* kGeneralFormat = "General";

// A table or a pivot table on the sheet (the file layer lists them): a cell shift that would
// cut through one is refused, and the areas follow the shifts that are allowed.
struct ProtectedArea {
  enum class Kind { Table, PivotTable };
  Kind kind = Kind::Table;
  std::string name;
  Area area;
};

class Sheet {
 public:
  Sheet(std::string name, int32_t rows, int32_t cols);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  int32_t Rows() const { return rows_; }
  int32_t Cols() const { return cols_; }

  // Address checks: HostError for anything outside the sheet (or an area given backwards).
  bool Contains(Cell c) const { return c.row >= 1 && c.row <= rows_ && c.col >= 1 && c.col <= cols_; }
  void Check(Cell c) const;
  void Check(const Area& a) const;
  void CheckRows(int32_t first, int32_t last) const;
  void CheckCols(int32_t first, int32_t last) const;

  // ---- Cells ----
  const CellRecord* Find(Cell c) const;
  // Applies `edit` to the cell's record (made when missing); a blank result is dropped.
  template <class F>
  void Edit(Cell c, F&& edit) {
    ColumnStore& store = columns_[c.col];
    store.Edit(c.row, [&](CellRecord& r) {
      const bool had = r.HasFormula();
      edit(r);
      CountFormula(had, r.HasFormula());
    });
    if (store.Empty()) columns_.erase(c.col);
  }
  // Applies `edit(Cell, CellRecord&)` to every cell of `area`, made when missing; blank results
  // are dropped. Costs O(cells of the area + chunks): meant for areas a caller formats cell by
  // cell, not for whole columns.
  template <class F>
  void EditArea(const Area& area, F&& edit);
  // The stored column `col`, or nullptr when it holds no cell.
  const ColumnStore* Column(int32_t col) const;
  // Every non-empty column by number. Callers that edit a store through it call
  // DropEmptyColumns afterwards. Handing the stores out for writing makes the formula count
  // unknown until the next recount.
  std::map<int32_t, ColumnStore>& Columns() {
    formulaBound_ = kFormulasUnknown;
    return columns_;
  }
  const std::map<int32_t, ColumnStore>& Columns() const { return columns_; }
  // The stores for a caller that only moves or removes cells, which cannot add a formula.
  std::map<int32_t, ColumnStore>& ColumnsForMovesAndRemovals() { return columns_; }
  void DropEmptyColumns();
  // Calls f(Cell, const CellRecord&) for every stored cell, row by row, left to right.
  template <class F>
  void ForEachCellByRow(F&& f) const;

  // ---- Formats: a cell's own, else its column's ----
  int32_t ColumnColor(int32_t col) const;
  const std::string& ColumnNumberFormat(int32_t col) const;  // "General" when none
  int32_t ColorIndexAt(Cell c) const;
  const std::string& NumberFormatAt(Cell c) const;
  // Whole-column formats: set once per column; the columns' cells give up their own.
  void SetColumnColor(int32_t first, int32_t last, int32_t index);
  void SetColumnNumberFormat(int32_t first, int32_t last, const std::string& format);
  const RunMap<int32_t>& ColumnColors() const { return columnColors_; }
  const RunMap<std::string>& ColumnNumberFormats() const { return columnFormats_; }

  // ---- Sizes ----
  double ColumnWidth(int32_t col) const;  // characters
  void SetColumnWidth(int32_t first, int32_t last, double chars);
  double RowHeight(int32_t row) const;  // points
  void SetRowHeight(int32_t first, int32_t last, double points);
  const RunMap<double>& ColumnWidths() const { return columnWidths_; }
  const RunMap<double>& RowHeights() const { return rowHeights_; }
  // The sizes' texts in the file the sheet was read from (for the file layer; see size_texts.h).
  SizeTexts& FileSizeTexts() { return sizeTexts_; }
  const SizeTexts& FileSizeTexts() const { return sizeTexts_; }

  // ---- Whole rows and columns removed: what follows moves back ----
  void EraseRowsAndShift(int32_t first, int32_t last);
  void EraseColumnsAndShift(int32_t first, int32_t last);

  // ---- Merged areas ----
  const std::vector<Area>& MergedAreas() const { return merged_; }
  // Adds a merged area of two or more cells; HostError for one outside the sheet, a single cell
  // or one overlapping an area already merged.
  void AddMergedArea(const Area& area);
  void ClearMergedAreas() { merged_.clear(); }
  // Replaces the merged areas wholesale (cell shifts compute the new list first).
  void SetMergedAreas(std::vector<Area> areas) { merged_ = std::move(areas); }

  // ---- Tables and pivot tables: cell shifts move them whole or not at all ----
  const std::vector<ProtectedArea>& ProtectedAreas() const { return protected_; }
  void SetProtectedAreas(std::vector<ProtectedArea> areas) { protected_ = std::move(areas); }

  SheetView& View() { return view_; }
  const SheetView& View() const { return view_; }

  // ---- Formula count: lets reference updates pass over sheets without formulas ----
  // At least the number of cells holding a formula (exact after a recount), or nothing when not
  // known. Edit and EditArea keep it; Columns() for writing forgets it.
  std::optional<int64_t> FormulaCountBound() const {
    return formulaBound_ < 0 ? std::nullopt : std::optional<int64_t>(formulaBound_);
  }
  void SetFormulaCountBound(std::optional<int64_t> bound) {
    formulaBound_ = bound ? *bound : kFormulasUnknown;
  }

 private:
  static constexpr int64_t kFormulasUnknown = -1;
  void CountFormula(bool had, bool has) {
    if (formulaBound_ < 0 || had == has) return;
    formulaBound_ = has ? formulaBound_ + 1 : std::max<int64_t>(formulaBound_ - 1, 0);
  }

  // Merged areas after whole rows (or columns) first..last are removed: the later ones move
  // back, those cut shrink, and those left with one cell go.
  void EraseMergedLines(bool rows, int32_t first, int32_t last);

  std::string name_;
  int32_t rows_;
  int32_t cols_;
  std::map<int32_t, ColumnStore> columns_;
  RunMap<int32_t> columnColors_;
  RunMap<std::string> columnFormats_;
  RunMap<double> columnWidths_;
  RunMap<double> rowHeights_;
  SizeTexts sizeTexts_;
  std::vector<Area> merged_;
  std::vector<ProtectedArea> protected_;
  SheetView view_;
  int64_t formulaBound_ = 0;
};

template <class F>
void Sheet::EditArea(const Area& area, F&& edit) {
  for (int32_t c = area.first.col; c <= area.last.col; ++c) {
    ColumnStore& store = columns_[c];
    std::vector<ColumnStore::Entry> old = store.Extract(area.first.row, area.last.row);
    std::vector<ColumnStore::Entry> all;
    all.reserve(static_cast<size_t>(area.Rows()));
    size_t k = 0;
    for (int32_t r = area.first.row; r <= area.last.row; ++r) {
      ColumnStore::Entry e{r, {}};
      if (k < old.size() && old[k].row == r) e.record = std::move(old[k++].record);
      const bool had = e.record.HasFormula();
      edit(Cell{r, c}, e.record);
      CountFormula(had, e.record.HasFormula());
      e.record.TrimExtras();
      if (!e.record.Blank()) all.push_back(std::move(e));
    }
    store.InsertRun(std::move(all));
    if (store.Empty()) columns_.erase(c);
  }
}

template <class F>
void Sheet::ForEachCellByRow(F&& f) const {
  // A merge of the columns' row-ordered cursors through a heap ordered by (row, column).
  struct Head {
    int32_t row;
    int32_t col;
    ColumnStore::Cursor cursor;
    bool operator>(const Head& o) const { return row != o.row ? row > o.row : col > o.col; }
  };
  std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
  for (const auto& [col, store] : columns_) {
    ColumnStore::Cursor cur = store.Begin();
    if (cur.Valid()) heads.push(Head{cur.Row(), col, cur});
  }
  while (!heads.empty()) {
    Head h = heads.top();
    heads.pop();
    f(Cell{h.row, h.col}, h.cursor.Record());
    h.cursor.Next();
    if (h.cursor.Valid()) heads.push(Head{h.cursor.Row(), h.col, h.cursor});
  }
}

}  // namespace tezlo
