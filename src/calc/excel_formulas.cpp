#include "calc/excel_formulas.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/AddressConvention.hpp>
#include <com/sun/star/sheet/ComplexReference.hpp>
#include <com/sun/star/sheet/FormulaLanguage.hpp>
#include <com/sun/star/sheet/FormulaMapGroup.hpp>
#include <com/sun/star/sheet/FormulaMapGroupSpecialOffset.hpp>
#include <com/sun/star/sheet/FormulaOpCodeMapEntry.hpp>
#include <com/sun/star/sheet/ReferenceFlags.hpp>
#include <com/sun/star/sheet/SingleReference.hpp>
#include <com/sun/star/sheet/XFormulaOpCodeMapper.hpp>

#include "calc/uno_text.h"

namespace tezlo {

namespace uno = css::uno;
namespace ReferenceFlags = css::sheet::ReferenceFlags;

namespace {

constexpr sal_Int32 kDeleted =
    ReferenceFlags::COLUMN_DELETED | ReferenceFlags::ROW_DELETED | ReferenceFlags::SHEET_DELETED;

bool Deleted(const css::sheet::FormulaToken& token) {
  css::sheet::SingleReference single;
  if (token.Data >>= single) return (single.Flags & kDeleted) != 0;
  css::sheet::ComplexReference complex;
  if (token.Data >>= complex)
    return ((complex.Reference1.Flags | complex.Reference2.Flags) & kDeleted) != 0;
  return false;
}

}  // namespace

ExcelFormulas::ExcelFormulas(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc) {
  const uno::Reference<css::lang::XMultiServiceFactory> factory(doc, uno::UNO_QUERY_THROW);
  parser_.set(factory->createInstance("com.sun.star.sheet.FormulaParser"), uno::UNO_QUERY_THROW);
  const uno::Reference<css::sheet::XFormulaOpCodeMapper> mapper(
      factory->createInstance("com.sun.star.sheet.FormulaOpCodeMapper"), uno::UNO_QUERY_THROW);
  const uno::Sequence<css::sheet::FormulaOpCodeMapEntry> map =
      mapper->getAvailableMappings(css::sheet::FormulaLanguage::OOXML,
                                   css::sheet::FormulaMapGroup::ALL_EXCEPT_SPECIAL);
  // A "bad" token prints its text as it is: "#REF!" where a deleted reference stood.
  const uno::Sequence<css::sheet::FormulaOpCodeMapEntry> special =
      mapper->getAvailableMappings(css::sheet::FormulaLanguage::OOXML,
                                   css::sheet::FormulaMapGroup::SPECIAL);
  if (special.getLength() > css::sheet::FormulaMapGroupSpecialOffset::BAD) {
    bad_ = special[css::sheet::FormulaMapGroupSpecialOffset::BAD].Token.OpCode;
  }
  const uno::Reference<css::beans::XPropertySet> props(parser_, uno::UNO_QUERY_THROW);
  props->setPropertyValue("FormulaConvention", uno::Any(css::sheet::AddressConvention::XL_A1));
  props->setPropertyValue("CompileEnglish", uno::Any(true));
  props->setPropertyValue("OpCodeMap", uno::Any(map));
}

uno::Sequence<css::sheet::FormulaToken> ExcelFormulas::Parse(
    const std::string& formula, const css::table::CellAddress& at) const {
  return parser_->parseFormula(ToOUString(formula), at);
}

std::string ExcelFormulas::Print(const uno::Sequence<css::sheet::FormulaToken>& tokens,
                                 const css::table::CellAddress& at) const {
  // The printer leaves a deleted reference out ("SUM()"); Excel shows it as #REF!.
  uno::Sequence<css::sheet::FormulaToken> shown(tokens);
  if (bad_ >= 0) {
    for (css::sheet::FormulaToken& token : shown) {
      if (Deleted(token)) token = css::sheet::FormulaToken(bad_, uno::Any(OUString("#REF!")));
    }
  }
  return "=" + ToUtf8(parser_->printFormula(shown, at));
}

}  // namespace tezlo
