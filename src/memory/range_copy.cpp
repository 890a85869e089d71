#include "memory/range_copy.h"

#include <utility>
#include <vector>

#include "host/host_error.h"
#include "memory/array_formulas.h"

namespace tezlo {

namespace {

struct ColumnCopy {
  int32_t col;  // destination column
  int32_t color;
  std::string numberFormat;
  uint32_t style;
  std::vector<ColumnStore::Entry> entries;
  std::vector<std::pair<int32_t, RunMap<CellFormat>::Run>> runs;  // at destination rows
};

// A copy of `record` whose own formats are rewritten against the destination column's, so that
// it shows the colour and number format it showed at its source.
CellRecord Rebase(const CellRecord* record, int32_t srcColor, const std::string& srcFormat,
                  uint32_t srcStyle, int32_t dstColor, const std::string& dstFormat) {
  CellRecord out = record ? *record : CellRecord{};
  if (record == nullptr) out.style = srcStyle;
  const int32_t color =
      record && record->colorIndex != kInheritColor ? record->colorIndex : srcColor;
  out.colorIndex = color == dstColor ? kInheritColor : static_cast<uint8_t>(color);
  const std::string& format =
      record && record->OwnNumberFormat() ? *record->OwnNumberFormat() : srcFormat;
  if (format == dstFormat) {
    if (out.extras) out.extras->numberFormat.reset();
  } else {
    out.Extras().numberFormat = format;
  }
  out.TrimExtras();
  return out;
}

}  // namespace

void MoveFormulaWithCell(CellRecord& record, int32_t rows, int32_t cols, GridSize grid) {
  if (!record.HasFormula()) return;
  if (std::optional<std::string> moved =
          MoveRelativeRefs(record.extras->formula, rows, cols, grid)) {
    record.extras->formula = std::move(*moved);
  }
}

void CopyCells(const Sheet& from, const Area& area, Sheet& to, Cell destTopLeft, bool sameStyles) {
  from.Check(area);
  to.Check(destTopLeft);
  const int64_t lastRow = int64_t{destTopLeft.row} + area.Rows() - 1;
  const int64_t lastCol = int64_t{destTopLeft.col} + area.Cols() - 1;
  if (lastRow > to.Rows() || lastCol > to.Cols()) throw HostError("destination outside the sheet");
  const Area dest = Area::Of(destTopLeft.row, destTopLeft.col, static_cast<int32_t>(lastRow),
                             static_cast<int32_t>(lastCol));
  // The destination's arrays go when it covers them whole; one it would cut refuses the copy.
  CheckNoPartOfArray(to, dest);
  const int32_t dr = dest.first.row - area.first.row;
  const int32_t dc = dest.first.col - area.first.col;
  // Whole columns onto whole columns: the column formats travel as column formats.
  const bool wholeColumns =
      area.first.row == 1 && area.last.row == from.Rows() && to.Rows() == from.Rows();

  std::vector<ColumnCopy> copies;
  for (int32_t c = area.first.col; c <= area.last.col; ++c) {
    const ColumnStore* store = from.Column(c);
    const int32_t srcColor = from.ColumnColor(c);
    const std::string& srcFormat = from.ColumnNumberFormat(c);
    const uint32_t srcStyle = from.ColumnStyle(c);
    const int32_t dstColor = to.ColumnColor(c + dc);
    const std::string& dstFormat = to.ColumnNumberFormat(c + dc);
    const uint32_t dstStyle = to.ColumnStyle(c + dc);
    ColumnCopy copy{c + dc, srcColor, srcFormat, srcStyle, {}, {}};
    if (wholeColumns || (srcColor == dstColor && srcFormat == dstFormat && srcStyle == dstStyle)) {
      if (store != nullptr) {
        for (ColumnStore::Cursor cur = store->Seek(area.first.row);
             cur.Valid() && cur.Row() <= area.last.row; cur.Next()) {
          copy.entries.push_back(ColumnStore::Entry{cur.Row() + dr, cur.Record()});
        }
      }
      if (auto runs = from.FormatRuns().find(c); runs != from.FormatRuns().end()) {
        for (auto [first, run] : runs->second.Slice(area.first.row, area.last.row)) {
          run.last += dr;
          copy.runs.emplace_back(first + dr, run);
        }
      }
    } else {
      // The formats differ between the two columns: every cell of the range takes what it shows.
      for (int32_t r = area.first.row; r <= area.last.row; ++r) {
        const CellRecord* record = store ? store->Find(r) : nullptr;
        CellRecord formatted;
        if (record == nullptr) {
          if (const CellFormat* f = from.RunFormat(Cell{r, c})) {
            ApplyFormat(formatted, *f);
            record = &formatted;
          }
        }
        CellRecord rec = Rebase(record, srcColor, srcFormat, srcStyle, dstColor, dstFormat);
        if (!rec.Blank()) copy.entries.push_back(ColumnStore::Entry{r + dr, std::move(rec)});
      }
    }
    copies.push_back(std::move(copy));
  }

  if (!sameStyles) {
    for (ColumnCopy& copy : copies) {
      copy.style = 0;
      for (ColumnStore::Entry& e : copy.entries) e.record.style = 0;
      for (auto& [first, run] : copy.runs) run.value.style = 0;
    }
  }
  const GridSize grid{to.Rows(), to.Cols()};
  for (ColumnCopy& copy : copies) {
    for (ColumnStore::Entry& e : copy.entries) {
      MoveFormulaWithCell(e.record, dr, dc, grid);
      // An array copied whole is an array at the destination too; the anchor of one copied in
      // part holds a plain formula there, beside the other cells' values.
      if (const std::optional<Area> block = e.record.ArrayArea(Cell{e.row, copy.col})) {
        if (dest.Contains(block->first) && dest.Contains(block->last)) {
          to.NoteArray(e.record.extras->array);
        } else {
          e.record.extras->array = ArrayExtent{};
        }
      }
    }
  }

  for (ColumnCopy& copy : copies) {
    if (wholeColumns) {
      to.SetColumnColor(copy.col, copy.col, copy.color);
      to.SetColumnNumberFormat(copy.col, copy.col, copy.numberFormat);
      to.SetColumnStyle(copy.col, copy.col, copy.style);
    }
    ColumnStore& store = to.Columns()[copy.col];
    store.Extract(dest.first.row, dest.last.row);
    to.ExtractRuns(copy.col, dest.first.row, dest.last.row);
    store.InsertRun(std::move(copy.entries));
    for (const auto& [first, run] : copy.runs)
      to.SetRunFormat(copy.col, first, run.last, run.value);
  }
  to.DropEmptyColumns();
}

}  // namespace tezlo
