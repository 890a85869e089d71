// The in-memory host: column widths, row heights, interior colours and number formats.
#include <cmath>
#include <utility>

#include "host/host_error.h"
#include "memory/column_units.h"
#include "memory/memory_host.h"
#include "memory/number_format_names.h"

namespace tezlo {

namespace {

// Formatting cell by cell stops at this many cells (whole columns are formatted once instead).
constexpr int64_t kMaxCellByCellFormat = int64_t{1} << 24;

void CheckColorIndex(int32_t index) {
  if (index < 0 || index > 56) throw HostError("colour index outside 0 to 56");
}

bool WholeColumns(const Sheet& sheet, const Area& area) {
  return area.first.row == 1 && area.last.row == sheet.Rows();
}

std::pair<int32_t, int32_t> Ordered(int32_t a, int32_t b) {
  return a <= b ? std::pair{a, b} : std::pair{b, a};
}

}  // namespace

void MemoryHost::CheckCellByCellArea(const Area& area) const {
  if (area.Count() > kMaxCellByCellFormat) throw HostError("area too large to format");
}

// ---- Sizes ----

double MemoryHost::ColumnWidth(SheetRef sheet, int32_t col) {
  const Sheet& s = GetSheet(sheet);
  s.CheckCols(col, col);
  return s.ColumnWidth(col);
}

double MemoryHost::ColumnWidthPoints(SheetRef sheet, int32_t col) {
  const double chars = ColumnWidth(sheet, col);
  return ColumnCharsToPoints(chars, GetWorkbook(sheet.book).MaxDigitWidthPx());
}

void MemoryHost::SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) {
  Sheet& s = GetSheet(sheet);
  const auto [a, b] = Ordered(first, last);
  s.CheckCols(a, b);
  if (!(chars >= 0 && chars <= 255)) throw HostError("column width outside 0 to 255");
  s.SetColumnWidth(a, b, chars);
}

double MemoryHost::RowHeight(SheetRef sheet, int32_t row) {
  const Sheet& s = GetSheet(sheet);
  s.CheckRows(row, row);
  return s.RowHeight(row);
}

void MemoryHost::SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) {
  Sheet& s = GetSheet(sheet);
  const auto [a, b] = Ordered(first, last);
  s.CheckRows(a, b);
  if (!(points >= 0 && points <= 409)) throw HostError("row height outside 0 to 409");
  s.SetRowHeight(a, b, points);
}

// ---- Formats ----

int32_t MemoryHost::ColorIndex(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  return s.ColorIndexAt(cell);
}

void MemoryHost::SetColorIndex(SheetRef sheet, Area area, int32_t index) {
  Sheet& s = GetSheet(sheet);
  s.Check(area);
  CheckColorIndex(index);
  if (WholeColumns(s, area)) {
    s.SetColumnColor(area.first.col, area.last.col, index);
    return;
  }
  CheckCellByCellArea(area);
  s.FormatArea(area, [&s, index](int32_t col, CellFormat f) {
    f.colorIndex = index == s.ColumnColor(col) ? kInheritColor : static_cast<uint8_t>(index);
    return f;
  });
}

void MemoryHost::SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) {
  Sheet& s = GetSheet(sheet);
  const auto [a, b] = Ordered(first, last);
  s.CheckCols(a, b);
  CheckColorIndex(index);
  s.SetColumnColor(a, b, index);
}

std::string MemoryHost::NumberFormat(SheetRef sheet, Cell cell) {
  const Sheet& s = GetSheet(sheet);
  s.Check(cell);
  return s.NumberFormatAt(cell);
}

void MemoryHost::SetNumberFormat(SheetRef sheet, Area area, const std::string& format) {
  Sheet& s = GetSheet(sheet);
  s.Check(area);
  const std::string chosen = format.empty() ? std::string(kGeneralFormat) : format;
  if (WholeColumns(s, area)) {
    s.SetColumnNumberFormat(area.first.col, area.last.col, chosen);
    return;
  }
  CheckCellByCellArea(area);
  const std::string* interned = InternNumberFormat(chosen);
  s.FormatArea(area, [&s, interned](int32_t col, CellFormat f) {
    f.numberFormat = *interned == s.ColumnNumberFormat(col) ? nullptr : interned;
    return f;
  });
}

void MemoryHost::SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) {
  SetNumberFormat(sheet, area, CanonicalNumberFormat(format));
}

}  // namespace tezlo
