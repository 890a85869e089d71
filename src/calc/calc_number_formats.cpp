#include "calc/calc_number_formats.h"

#include <cctype>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XUniqueCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/util/MalformedNumberFormatException.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tezlo {

namespace uno = css::uno;
namespace NumberFormat = css::util::NumberFormat;

namespace {

// Codes are read and written in the English (United States) form, which is Excel's.
css::lang::Locale English() { return css::lang::Locale("en", "US", ""); }

// Calc writes date and time codes in capitals ("YYYY-MM-DD", "HH:MM:SS"), Excel in lower case;
// quoted text and bracketed parts ("[$-409]", "[RED]") stay as they are.
std::string ExcelCase(const std::string& code) {
  std::string out = code;
  bool quoted = false;
  int bracket = 0;
  for (char& c : out) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '[') ++bracket;
    if (c == ']' && bracket > 0) --bracket;
    if (bracket > 0) continue;
    if (c == 'Y' || c == 'M' || c == 'D' || c == 'H' || c == 'S') {
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

}  // namespace

CalcNumberFormats::CalcNumberFormats(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc)
    : formats_(uno::Reference<css::util::XNumberFormatsSupplier>(doc, uno::UNO_QUERY_THROW)
                   ->getNumberFormats()) {}

int32_t CalcNumberFormats::KeyOf(const std::string& code) {
  const OUString text = ToOUString(code);
  const int32_t key = formats_->queryKey(text, English(), false);
  if (key >= 0) return key;
  try {
    return formats_->addNew(text, English());
  } catch (const css::util::MalformedNumberFormatException&) {
    throw HostError("LibreOffice cannot read the number format " + code);
  }
}

std::string CalcNumberFormats::CodeOf(int32_t key) {
  if (KindOf(key) == FormatKind::Boolean) return "General";
  OUString code;
  formats_->getByKey(key)->getPropertyValue("FormatString") >>= code;
  return ExcelCase(ToUtf8(code));
}

FormatKind CalcNumberFormats::KindOf(int32_t key) {
  sal_Int16 type = 0;
  formats_->getByKey(key)->getPropertyValue("Type") >>= type;
  if (type & NumberFormat::LOGICAL) return FormatKind::Boolean;
  if (type & NumberFormat::TEXT) return FormatKind::Text;
  if (type & (NumberFormat::DATE | NumberFormat::TIME)) return FormatKind::Date;
  return FormatKind::Number;
}

int32_t CalcNumberFormats::BooleanKey() {
  return uno::Reference<css::util::XNumberFormatTypes>(formats_, uno::UNO_QUERY_THROW)
      ->getStandardFormat(NumberFormat::LOGICAL, English());
}

std::vector<int32_t> CalcNumberFormats::KeysOf(const uno::Reference<css::table::XCellRange>& range,
                                               const Area& area) {
  const int64_t cols = area.Cols();
  std::vector<int32_t> keys(static_cast<size_t>(area.Count()), 0);
  const uno::Reference<css::container::XIndexAccess> groups =
      uno::Reference<css::sheet::XUniqueCellFormatRangesSupplier>(range, uno::UNO_QUERY_THROW)
          ->getUniqueCellFormatRanges();
  for (sal_Int32 g = 0; g < groups->getCount(); ++g) {
    const uno::Reference<css::sheet::XSheetCellRanges> ranges(groups->getByIndex(g),
                                                              uno::UNO_QUERY_THROW);
    sal_Int32 key = 0;
    uno::Reference<css::beans::XPropertySet>(ranges, uno::UNO_QUERY_THROW)
        ->getPropertyValue("NumberFormat") >>= key;
    for (const css::table::CellRangeAddress& a : ranges->getRangeAddresses()) {
      for (sal_Int32 r = a.StartRow; r <= a.EndRow; ++r) {
        for (sal_Int32 c = a.StartColumn; c <= a.EndColumn; ++c) {
          const int64_t i = (int64_t{r} + 1 - area.first.row) * cols + (c + 1 - area.first.col);
          if (i >= 0 && i < static_cast<int64_t>(keys.size())) keys[static_cast<size_t>(i)] = key;
        }
      }
    }
  }
  return keys;
}

}  // namespace tezlo
