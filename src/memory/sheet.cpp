#include "memory/sheet.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "host/host_error.h"

namespace tezlo {

Sheet::Sheet(std::string name, int32_t rows, int32_t cols)
    : name_(std::move(name)), rows_(rows), cols_(cols) {}

void Sheet::Check(Cell c) const {
  if (!Contains(c)) throw HostError("cell outside the sheet");
}

void Sheet::Check(const Area& a) const {
  Check(a.first);
  Check(a.last);
  if (a.first.row > a.last.row || a.first.col > a.last.col) throw HostError("malformed area");
}

void Sheet::CheckRows(int32_t first, int32_t last) const {
  if (first < 1 || last > rows_ || first > last) throw HostError("rows outside the sheet");
}

void Sheet::CheckCols(int32_t first, int32_t last) const {
  if (first < 1 || last > cols_ || first > last) throw HostError("columns outside the sheet");
}

const CellRecord* Sheet::Find(Cell c) const {
  const ColumnStore* store = Column(c.col);
  return store ? store->Find(c.row) : nullptr;
}

const ColumnStore* Sheet::Column(int32_t col) const {
  auto it = columns_.find(col);
  return it == columns_.end() ? nullptr : &it->second;
}

void Sheet::DropEmptyColumns() {
  std::erase_if(columns_, [](const auto& kv) { return kv.second.Empty(); });
}

int32_t Sheet::ColumnColor(int32_t col) const {
  const int32_t* v = columnColors_.Find(col);
  return v ? *v : 0;
}

const std::string& Sheet::ColumnNumberFormat(int32_t col) const {
  static const std::string general = kGeneralFormat;
  const std::string* v = columnFormats_.Find(col);
  return v ? *v : general;
}

int32_t Sheet::ColorIndexAt(Cell c) const {
  const CellRecord* r = Find(c);
  if (r && r->colorIndex != kInheritColor) return r->colorIndex;
  if (const CellFormat* f = r ? nullptr : RunFormat(c); f && f->colorIndex != kInheritColor) {
    return f->colorIndex;
  }
  return ColumnColor(c.col);
}

const std::string& Sheet::NumberFormatAt(Cell c) const {
  const CellRecord* r = Find(c);
  if (r && r->OwnNumberFormat()) return *r->OwnNumberFormat();
  if (const CellFormat* f = r ? nullptr : RunFormat(c); f && f->numberFormat)
    return *f->numberFormat;
  return ColumnNumberFormat(c.col);
}

const CellFormat* Sheet::RunFormat(Cell c) const {
  auto it = runs_.find(c.col);
  return it == runs_.end() ? nullptr : it->second.Find(c.row);
}

CellFormat Sheet::OwnFormat(Cell c) const {
  if (const CellRecord* r = Find(c)) return FormatOf(*r);
  if (const CellFormat* f = RunFormat(c)) return *f;
  return CellFormat{};
}

void Sheet::SetRunFormat(int32_t col, int32_t first, int32_t last, const CellFormat& format) {
  if (format.Plain()) {
    auto it = runs_.find(col);
    if (it == runs_.end()) return;
    it->second.Clear(first, last);
    if (it->second.Empty()) runs_.erase(it);
    return;
  }
  runs_[col].Assign(first, last, format);
}

void Sheet::ShiftRunsDown(int32_t col, int32_t row, int32_t n) {
  auto it = runs_.find(col);
  if (it == runs_.end()) return;
  it->second.ShiftFrom(row, n, rows_);
  if (it->second.Empty()) runs_.erase(it);
}

void Sheet::EraseRunsAndShiftUp(int32_t col, int32_t first, int32_t last) {
  auto it = runs_.find(col);
  if (it == runs_.end()) return;
  it->second.EraseAndShift(first, last);
  if (it->second.Empty()) runs_.erase(it);
}

std::vector<std::pair<int32_t, RunMap<CellFormat>::Run>> Sheet::ExtractRuns(int32_t col,
                                                                            int32_t first,
                                                                            int32_t last) {
  auto it = runs_.find(col);
  if (it == runs_.end()) return {};
  auto out = it->second.Slice(first, last);
  it->second.Clear(first, last);
  if (it->second.Empty()) runs_.erase(it);
  return out;
}

void Sheet::TakeRunsIntoRecords(int32_t col, int32_t first, int32_t last) {
  if (runs_.empty()) return;
  auto it = runs_.find(col);
  if (it == runs_.end()) return;
  const auto runs = ExtractRuns(col, first, last);
  if (runs.empty()) return;
  // Run by run: cells with records of their own lie between runs, and a run of new records may
  // not interleave with stored ones.
  for (const auto& [from, run] : runs) {
    std::vector<ColumnStore::Entry> entries;
    for (int32_t r = from; r <= run.last; ++r) {
      ColumnStore::Entry e{r, {}};
      ApplyFormat(e.record, run.value);
      entries.push_back(std::move(e));
    }
    columns_[col].InsertRun(std::move(entries));
  }
  if (columns_[col].Empty()) columns_.erase(col);
}

size_t Sheet::RunCount() const {
  size_t n = 0;
  for (const auto& [col, runs] : runs_) n += runs.Size();
  return n;
}

void Sheet::SetColumnColor(int32_t first, int32_t last, int32_t index) {
  if (index == 0) {
    columnColors_.Clear(first, last);
  } else {
    columnColors_.Assign(first, last, index);
  }
  for (auto it = columns_.lower_bound(first); it != columns_.end() && it->first <= last; ++it) {
    it->second.Transform(1, rows_, [](int32_t, CellRecord& r) { r.colorIndex = kInheritColor; });
  }
  DropEmptyColumns();
  ChangeRuns(first, last, [](CellFormat f) {
    f.colorIndex = kInheritColor;
    return f;
  });
}

void Sheet::SetColumnNumberFormat(int32_t first, int32_t last, const std::string& format) {
  if (format == kGeneralFormat) {
    columnFormats_.Clear(first, last);
  } else {
    columnFormats_.Assign(first, last, format);
  }
  for (auto it = columns_.lower_bound(first); it != columns_.end() && it->first <= last; ++it) {
    it->second.Transform(1, rows_, [](int32_t, CellRecord& r) {
      if (r.extras) r.extras->numberFormat.reset();
    });
  }
  DropEmptyColumns();
  ChangeRuns(first, last, [](CellFormat f) {
    f.numberFormat = nullptr;
    return f;
  });
}

uint32_t Sheet::ColumnStyle(int32_t col) const {
  const uint32_t* v = columnStyles_.Find(col);
  return v ? *v : 0;
}

void Sheet::SetColumnStyle(int32_t first, int32_t last, uint32_t style) {
  if (style == 0) {
    columnStyles_.Clear(first, last);
  } else {
    columnStyles_.Assign(first, last, style);
  }
}

uint32_t Sheet::RowStyle(int32_t row) const {
  const uint32_t* v = rowStyles_.Find(row);
  return v ? *v : 0;
}

void Sheet::SetRowStyle(int32_t first, int32_t last, uint32_t style) {
  if (style == 0) {
    rowStyles_.Clear(first, last);
  } else {
    rowStyles_.Assign(first, last, style);
  }
}

double Sheet::ColumnWidth(int32_t col) const {
  const double* v = columnWidths_.Find(col);
  return v ? *v : kDefaultColumnWidthChars;
}

void Sheet::SetColumnWidth(int32_t first, int32_t last, double chars) {
  columnWidths_.Assign(first, last, chars);
}

double Sheet::RowHeight(int32_t row) const {
  const double* v = rowHeights_.Find(row);
  return v ? *v : kDefaultRowHeightPoints;
}

void Sheet::SetRowHeight(int32_t first, int32_t last, double points) {
  rowHeights_.Assign(first, last, points);
}

void Sheet::AddMergedArea(const Area& area) {
  Check(area);
  if (area.Count() < 2) throw HostError("a merged area needs two or more cells");
  for (const Area& m : merged_) {
    const bool apart = area.last.row < m.first.row || m.last.row < area.first.row ||
                       area.last.col < m.first.col || m.last.col < area.first.col;
    if (!apart) throw HostError("merged areas overlap");
  }
  merged_.push_back(area);
}

namespace {

// The span first..last of a merged area after the lines gone..gone + n - 1 are removed; false
// when nothing of it is left.
bool ShrinkSpan(int32_t& first, int32_t& last, int32_t gone, int32_t n) {
  const int32_t goneLast = gone + n - 1;
  const int32_t keptBefore = std::max(0, std::min(last, gone - 1) - first + 1);
  const int32_t keptAfter = std::max(0, last - std::max(first, goneLast + 1) + 1);
  if (keptBefore + keptAfter == 0) return false;
  first = first < gone ? first : std::max(first, goneLast + 1) - n;
  last = first + keptBefore + keptAfter - 1;
  return true;
}

}  // namespace

void Sheet::EraseMergedLines(bool rows, int32_t first, int32_t last) {
  const int32_t n = last - first + 1;
  std::vector<Area> kept;
  for (Area a : merged_) {
    const bool left = rows ? ShrinkSpan(a.first.row, a.last.row, first, n)
                           : ShrinkSpan(a.first.col, a.last.col, first, n);
    if (left && a.Count() >= 2) kept.push_back(a);
  }
  merged_ = std::move(kept);
}

void Sheet::EraseRowsAndShift(int32_t first, int32_t last) {
  const int32_t n = last - first + 1;
  EraseMergedLines(true, first, last);
  for (auto& [col, store] : columns_) {
    store.Extract(first, last);
    store.ShiftRows(last + 1, -n);
  }
  DropEmptyColumns();
  for (auto it = runs_.begin(); it != runs_.end();) {
    it->second.EraseAndShift(first, last);
    it = it->second.Empty() ? runs_.erase(it) : std::next(it);
  }
  rowHeights_.EraseAndShift(first, last);
  rowStyles_.EraseAndShift(first, last);
}

void Sheet::EraseColumnsAndShift(int32_t first, int32_t last) {
  const int32_t n = last - first + 1;
  EraseMergedLines(false, first, last);
  std::map<int32_t, ColumnStore> kept;
  for (auto& [col, store] : columns_) {
    if (col < first) {
      kept.emplace(col, std::move(store));
    } else if (col > last) {
      kept.emplace(col - n, std::move(store));
    }
  }
  columns_ = std::move(kept);
  std::map<int32_t, RunMap<CellFormat>> keptRuns;
  for (auto& [col, runs] : runs_) {
    if (col < first) {
      keptRuns.emplace(col, std::move(runs));
    } else if (col > last) {
      keptRuns.emplace(col - n, std::move(runs));
    }
  }
  runs_ = std::move(keptRuns);
  columnColors_.EraseAndShift(first, last);
  columnFormats_.EraseAndShift(first, last);
  columnStyles_.EraseAndShift(first, last);
  columnWidths_.EraseAndShift(first, last);
}

}  // namespace tezlo
