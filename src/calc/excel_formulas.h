// Formulas of a Calc document in Excel's notation (A1 references, "Sheet1!A1", English function
// names, "," between arguments), both ways, through the document's formula parser.
#pragma once

#include <string>

#include <com/sun/star/sheet/FormulaToken.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellAddress.hpp>

namespace tezlo {

class ExcelFormulas {
 public:
  ExcelFormulas() = default;
  explicit ExcelFormulas(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& doc);

  // `formula` without its leading "=", for the cell at `at`.
  css::uno::Sequence<css::sheet::FormulaToken> Parse(const std::string& formula,
                                                     const css::table::CellAddress& at) const;
  // The formula with its leading "="; a reference whose cells were deleted reads "#REF!".
  std::string Print(const css::uno::Sequence<css::sheet::FormulaToken>& tokens,
                    const css::table::CellAddress& at) const;

 private:
  css::uno::Reference<css::sheet::XFormulaParser> parser_;
  sal_Int32 bad_ = -1;  // the operation code of a token that prints its own text
};

}  // namespace tezlo
