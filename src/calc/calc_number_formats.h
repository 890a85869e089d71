// Number formats of a Calc document in the port's terms: Excel's format codes ("General", "@",
// "yyyy-mm-dd") to the document's format keys and back, and the kind of value a format shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>

#include "host/cell.h"

namespace tezlo {

enum class FormatKind : uint8_t { Number, Date, Boolean, Text };

class CalcNumberFormats {
 public:
  explicit CalcNumberFormats(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& doc);

  // The key of a format code, added to the document when it has none yet; HostError for a
  // code Calc cannot read.
  int32_t KeyOf(const std::string& code);
  // The code of a key as Excel writes it: "General", date and time letters in lower case.
  std::string CodeOf(int32_t key);
  FormatKind KindOf(int32_t key);
  // Calc's boolean format ("TRUE"/"FALSE"), which Excel has no code for.
  int32_t BooleanKey();

  // The format key of every cell of `area` (row-major), read as the document's runs of equal
  // formats rather than cell by cell.
  std::vector<int32_t> KeysOf(const css::uno::Reference<css::table::XCellRange>& range,
                              const Area& area);

 private:
  css::uno::Reference<css::util::XNumberFormats> formats_;
};

}  // namespace tezlo
