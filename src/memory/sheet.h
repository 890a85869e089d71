// One worksheet: its name, its size, its cells by column, column and row sizes, whole-column
// formats and the window's view of it.
//
// Cells are kept two ways. A cell holding content (a value, a formula or a comment) has a
// CellRecord in its column's ColumnStore, its format inline. A cell holding only a format lies
// in its column's format runs: a RunMap from rows to CellFormat, one entry per run of equal
// formats, so a formatted band of a million empty cells costs one entry, not a million records
// (a file may declare tens of millions of formatted empty cells; they cost a few bytes each).
// A row is in at most one of the two: editing a cell that lies in a run takes its format into a
// new record first (Edit, EditArea), and every move of cells (shifts, deletions, copies, sorts)
// moves the runs with the records. Whole columns (and the file's rows) have formats of their
// own besides, in run maps over columns (rows).
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
#include "memory/cell_format.h"
#include "memory/cell_record.h"
#include "memory/column_store.h"
#include "memory/run_map.h"
#include "memory/sheet_view.h"
#include "memory/formula_refs.h"
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
  bool Contains(Cell c) const {
    return c.row >= 1 && c.row <= rows_ && c.col >= 1 && c.col <= cols_;
  }
  void Check(Cell c) const;
  void Check(const Area& a) const;
  void CheckRows(int32_t first, int32_t last) const;
  void CheckCols(int32_t first, int32_t last) const;

  // ---- Cells ----
  const CellRecord* Find(Cell c) const;
  // Applies `edit` to the cell's record (made when missing); a blank result is dropped.
  template <class F>
  void Edit(Cell c, F&& edit) {
    TakeRunsIntoRecords(c.col, c.row, c.row);
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
  // Gives every cell of `area` the format change(col, its format): records in place, the cells
  // without one as format runs, so that formatting a long band of empty cells costs a few runs.
  template <class F>
  void FormatArea(const Area& area, F&& change);
  // The same, with g(Cell, const CellFormat&) for every cell of the format runs as well.
  template <class F, class G>
  void ForEachCellByRow(F&& f, G&& g) const;

  // ---- Format runs: cells holding a format and nothing else ----
  // The run format of a cell, or nullptr when no run covers it (it may have a record).
  const CellFormat* RunFormat(Cell c) const;
  // The format a cell has of its own: its record's, else its run's, else a plain one.
  CellFormat OwnFormat(Cell c) const;
  // Gives rows first..last of `col`, which hold no record, the format `format` (a plain one
  // clears them).
  void SetRunFormat(int32_t col, int32_t first, int32_t last, const CellFormat& format);
  const std::map<int32_t, RunMap<CellFormat>>& FormatRuns() const { return runs_; }
  // Moves the runs of `col` from `row` on down by `n` rows (those pushed off the sheet go), or
  // removes rows first..last and moves those below up.
  void ShiftRunsDown(int32_t col, int32_t row, int32_t n);
  void EraseRunsAndShiftUp(int32_t col, int32_t first, int32_t last);
  // Removes and returns the runs of rows first..last of `col`.
  std::vector<std::pair<int32_t, RunMap<CellFormat>::Run>> ExtractRuns(int32_t col, int32_t first,
                                                                       int32_t last);
  // Turns the runs of rows first..last of `col` into records (for code that moves records row
  // by row, such as a sort).
  void TakeRunsIntoRecords(int32_t col, int32_t first, int32_t last);
  // Format runs, over all columns; what they cost in memory, about.
  size_t RunCount() const;

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
  // The file's cell formats of whole columns and rows (see CellRecord::style), kept for the file
  // layer: a column's applies to its cells without a record, a row's is written back on the row.
  // They move when whole rows or columns are deleted.
  uint32_t ColumnStyle(int32_t col) const;
  void SetColumnStyle(int32_t first, int32_t last, uint32_t style);
  const RunMap<uint32_t>& ColumnStyles() const { return columnStyles_; }
  uint32_t RowStyle(int32_t row) const;
  void SetRowStyle(int32_t first, int32_t last, uint32_t style);
  const RunMap<uint32_t>& RowStyles() const { return rowStyles_; }

  // ---- Sizes ----
  double ColumnWidth(int32_t col) const;  // characters
  void SetColumnWidth(int32_t first, int32_t last, double chars);
  double RowHeight(int32_t row) const;  // points
  void SetRowHeight(int32_t first, int32_t last, double points);
  const RunMap<double>& ColumnWidths() const { return columnWidths_; }
  const RunMap<double>& RowHeights() const { return rowHeights_; }
  // ---- Cells moved since the sheet was read: what refers to cells outside the engine's model
  // (the file layer's kept conditional formats, validation, hyperlinks, ...) follows them when
  // the sheet is written, by these shifts in order ----
  const std::vector<RefShift>& ShiftsSinceRead() const { return shifts_; }
  void NoteShift(const RefShift& shift) { shifts_.push_back(shift); }

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

  // ---- Array formulas: their anchors' records hold them (CellExtras::array); the sheet keeps
  // how far any of them may reach from its anchor (at least the rows and the columns of every
  // array put on it; none when it never held one), so that finding the arrays a written area
  // meets looks only at the cells near that area ----
  ArrayExtent ArrayReach() const { return arrayReach_; }
  void NoteArray(ArrayExtent extent) {
    arrayReach_.rows = std::max(arrayReach_.rows, extent.rows);
    arrayReach_.cols = std::max(arrayReach_.cols, extent.cols);
  }

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

  // Applies `change` to the format runs of columns first..last; plain results go.
  template <class F>
  void ChangeRuns(int32_t first, int32_t last, F&& change) {
    for (auto it = runs_.lower_bound(first); it != runs_.end() && it->first <= last;) {
      RunMap<CellFormat> changed;
      for (const auto& [from, run] : it->second.Runs()) {
        const CellFormat f = change(run.value);
        if (!f.Plain()) changed.Assign(from, run.last, f);
      }
      it->second = std::move(changed);
      it = it->second.Empty() ? runs_.erase(it) : std::next(it);
    }
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
  std::map<int32_t, RunMap<CellFormat>> runs_;
  RunMap<uint32_t> columnStyles_;
  RunMap<uint32_t> rowStyles_;
  RunMap<double> columnWidths_;
  RunMap<double> rowHeights_;
  SizeTexts sizeTexts_;
  std::vector<RefShift> shifts_;
  std::vector<Area> merged_;
  std::vector<ProtectedArea> protected_;
  SheetView view_;
  int64_t formulaBound_ = 0;
  ArrayExtent arrayReach_;
};

template <class F>
void Sheet::EditArea(const Area& area, F&& edit) {
  for (int32_t c = area.first.col; c <= area.last.col; ++c) {
    TakeRunsIntoRecords(c, area.first.row, area.last.row);
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

template <class F>
void Sheet::FormatArea(const Area& area, F&& change) {
  const int32_t top = area.first.row;
  const int32_t bottom = area.last.row;
  for (int32_t c = area.first.col; c <= area.last.col; ++c) {
    // Rows holding no record, as ranges.
    std::vector<std::pair<int32_t, int32_t>> gaps;
    int32_t next = top;
    if (auto it = columns_.find(c); it != columns_.end()) {
      it->second.Transform(top, bottom,
                           [&](int32_t, CellRecord& r) { ApplyFormat(r, change(c, FormatOf(r))); });
      for (ColumnStore::Cursor cur = it->second.Seek(top); cur.Valid() && cur.Row() <= bottom;
           cur.Next()) {
        if (cur.Row() > next) gaps.emplace_back(next, cur.Row() - 1);
        next = cur.Row() + 1;
      }
      if (it->second.Empty()) columns_.erase(it);
    }
    if (next <= bottom) gaps.emplace_back(next, bottom);
    for (const auto& [from, to] : gaps) {
      const auto it = runs_.find(c);
      const auto pieces = it == runs_.end()
                              ? std::vector<std::pair<int32_t, RunMap<CellFormat>::Run>>()
                              : it->second.Slice(from, to);
      int32_t row = from;
      for (const auto& [first, run] : pieces) {
        if (first > row) SetRunFormat(c, row, first - 1, change(c, CellFormat{}));
        SetRunFormat(c, first, run.last, change(c, run.value));
        row = run.last + 1;
      }
      if (row <= to) SetRunFormat(c, row, to, change(c, CellFormat{}));
    }
  }
}

template <class F, class G>
void Sheet::ForEachCellByRow(F&& f, G&& g) const {
  // Records and runs of rows never overlap: a merge of both kinds of head through one heap
  // ordered by (row, column).
  struct Head {
    int32_t row;
    int32_t col;
    ColumnStore::Cursor cursor;  // valid for a record head
    std::map<int32_t, RunMap<CellFormat>::Run>::const_iterator run;
    bool isRun;
    bool operator>(const Head& o) const { return row != o.row ? row > o.row : col > o.col; }
  };
  std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
  for (const auto& [col, store] : columns_) {
    ColumnStore::Cursor cur = store.Begin();
    if (cur.Valid()) heads.push(Head{cur.Row(), col, cur, {}, false});
  }
  for (const auto& [col, runs] : runs_) {
    if (!runs.Empty())
      heads.push(Head{runs.Runs().begin()->first, col, {}, runs.Runs().begin(), true});
  }
  while (!heads.empty()) {
    Head h = heads.top();
    heads.pop();
    if (h.isRun) {
      g(Cell{h.row, h.col}, h.run->second.value);
      if (h.row < h.run->second.last) {
        ++h.row;
      } else {
        ++h.run;
        if (h.run == runs_.at(h.col).Runs().end()) continue;
        h.row = h.run->first;
      }
      heads.push(h);
      continue;
    }
    f(Cell{h.row, h.col}, h.cursor.Record());
    h.cursor.Next();
    if (h.cursor.Valid()) {
      h.row = h.cursor.Row();
      heads.push(h);
    }
  }
}

}  // namespace tezlo
