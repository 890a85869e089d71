#include "memory/other_workbook_refs.h"

namespace tezlo {

bool RefersToOtherWorkbook(std::string_view formula, const FormulaRef& ref) {
  return (ref.prefixBegin > 0 && formula[ref.prefixBegin - 1] == ']') ||
         ref.sheet->find_first_of("[]") != std::string::npos;
}

}  // namespace tezlo
