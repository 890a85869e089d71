// The Calc host: column widths, row heights, interior colours and number formats.
#include <cmath>
#include <utility>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>

#include "calc/calc_host.h"
#include "calc/calc_number_formats.h"
#include "files/palette.h"
#include "calc/uno_errors.h"
#include "host/host_error.h"
#include "memory/column_units.h"
#include "memory/number_format_names.h"

namespace tezlo {

namespace uno = css::uno;

namespace {

// The widest digit of the default font, in pixels at 96 dpi, that converts a width in points to
// the port's characters (the memory engine's default).
constexpr int kMaxDigitWidthPx = 7;

// Calc keeps sizes in twips and gives them in 1/100 mm.
double HundredthMmToPoints(sal_Int32 hmm) { return std::round(hmm * 72.0 / 2540.0 * 20.0) / 20.0; }
sal_Int32 PointsToHundredthMm(double points) {
  return static_cast<sal_Int32>(std::lround(points * 2540.0 / 72.0));
}

std::pair<int32_t, int32_t> Ordered(int32_t a, int32_t b) {
  return a <= b ? std::pair{a, b} : std::pair{b, a};
}

void CheckColorIndex(int32_t index) {
  if (index < 0 || index > 56) throw HostError("colour index outside 0 to 56");
}

// Calc's background colour of a colour index: the palette's colour, or none (-1) for 0.
sal_Int32 BackColorOf(int32_t index) {
  return index == 0 ? -1 : static_cast<sal_Int32>(PaletteColor(index));
}

uno::Reference<css::beans::XPropertySet> Properties(const uno::Reference<uno::XInterface>& object) {
  return uno::Reference<css::beans::XPropertySet>(object, uno::UNO_QUERY_THROW);
}

}  // namespace

// ---- Sizes ----

double CalcHost::ColumnWidth(SheetRef sheet, int32_t col) try {
  return ColumnPointsToChars(ColumnWidthPoints(sheet, col), kMaxDigitWidthPx);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

double CalcHost::ColumnWidthPoints(SheetRef sheet, int32_t col) try {
  CheckCols(sheet, col, col);
  const uno::Reference<css::table::XColumnRowRange> range(RangeOf(sheet, Area::Of(1, col, 1, col)),
                                                          uno::UNO_QUERY_THROW);
  const auto props =
      Properties(range->getColumns()->getByIndex(0).get<uno::Reference<uno::XInterface>>());
  if (!props->getPropertyValue("IsVisible").get<bool>()) return 0;
  return HundredthMmToPoints(props->getPropertyValue("Width").get<sal_Int32>());
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetColumnWidth(SheetRef sheet, int32_t first, int32_t last, double chars) try {
  const auto [a, b] = Ordered(first, last);
  CheckCols(sheet, a, b);
  if (!(chars >= 0 && chars <= 255)) throw HostError("column width outside 0 to 255");
  const uno::Reference<css::table::XColumnRowRange> range(RangeOf(sheet, Area::Of(1, a, 1, b)),
                                                          uno::UNO_QUERY_THROW);
  const auto props = Properties(range->getColumns());
  // A width of 0 hides the columns, as in Excel; Calc keeps a hidden column's width apart.
  if (chars == 0) {
    props->setPropertyValue("IsVisible", uno::Any(false));
    return;
  }
  props->setPropertyValue("Width", uno::Any(PointsToHundredthMm(
                                       ColumnCharsToPoints(chars, kMaxDigitWidthPx))));
  props->setPropertyValue("IsVisible", uno::Any(true));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

double CalcHost::RowHeight(SheetRef sheet, int32_t row) try {
  CheckRows(sheet, row, row);
  const uno::Reference<css::table::XColumnRowRange> range(RangeOf(sheet, Area::Of(row, 1, row, 1)),
                                                          uno::UNO_QUERY_THROW);
  const auto props =
      Properties(range->getRows()->getByIndex(0).get<uno::Reference<uno::XInterface>>());
  if (!props->getPropertyValue("IsVisible").get<bool>()) return 0;
  return HundredthMmToPoints(props->getPropertyValue("Height").get<sal_Int32>());
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetRowHeight(SheetRef sheet, int32_t first, int32_t last, double points) try {
  const auto [a, b] = Ordered(first, last);
  CheckRows(sheet, a, b);
  if (!(points >= 0 && points <= 409)) throw HostError("row height outside 0 to 409");
  const uno::Reference<css::table::XColumnRowRange> range(RangeOf(sheet, Area::Of(a, 1, b, 1)),
                                                          uno::UNO_QUERY_THROW);
  const auto props = Properties(range->getRows());
  if (points == 0) {
    props->setPropertyValue("IsVisible", uno::Any(false));
    return;
  }
  props->setPropertyValue("Height", uno::Any(PointsToHundredthMm(points)));
  props->setPropertyValue("IsVisible", uno::Any(true));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Formats ----

int32_t CalcHost::ColorIndex(SheetRef sheet, Cell cell) try {
  const auto props = Properties(RangeOf(sheet, Area::Of(cell))->getCellByPosition(0, 0));
  const sal_Int32 color = props->getPropertyValue("CellBackColor").get<sal_Int32>();
  if (color < 0 || props->getPropertyValue("IsCellBackgroundTransparent").get<bool>()) return 0;
  // Calc keeps the colour, not the index: a palette colour that appears twice reads back as its
  // first index, any other colour as the nearest palette entry.
  return NearestColorIndex(static_cast<uint32_t>(color) & 0xFFFFFF);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetColorIndex(SheetRef sheet, Area area, int32_t index) try {
  const auto range = RangeOf(sheet, area);
  CheckColorIndex(index);
  Properties(range)->setPropertyValue("CellBackColor", uno::Any(BackColorOf(index)));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetColumnColorIndex(SheetRef sheet, int32_t first, int32_t last, int32_t index) try {
  const auto [a, b] = Ordered(first, last);
  CheckCols(sheet, a, b);
  CheckColorIndex(index);
  Properties(RangeOf(sheet, Area::Of(1, a, BookAt(sheet.book).rows, b)))
      ->setPropertyValue("CellBackColor", uno::Any(BackColorOf(index)));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::NumberFormat(SheetRef sheet, Cell cell) try {
  const auto props = Properties(RangeOf(sheet, Area::Of(cell))->getCellByPosition(0, 0));
  return CalcNumberFormats(BookAt(sheet.book).doc)
      .CodeOf(props->getPropertyValue("NumberFormat").get<sal_Int32>());
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetNumberFormat(SheetRef sheet, Area area, const std::string& format) try {
  const auto range = RangeOf(sheet, area);
  const int32_t key =
      CalcNumberFormats(BookAt(sheet.book).doc).KeyOf(format.empty() ? "General" : format);
  Properties(range)->setPropertyValue("NumberFormat", uno::Any(key));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SetNumberFormatLocal(SheetRef sheet, Area area, const std::string& format) try {
  SetNumberFormat(sheet, area, CanonicalNumberFormat(format));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

}  // namespace tezlo
