// Writes the workbook part: the file's own content (names, settings, external references, pivot
// caches, extensions ...) in its schema order, with the sheet list, the active tab and the
// calculation settings the engine decides.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/chart_refs.h"
#include "files/kept_content.h"

namespace tezlo {

// `sheets` are the <sheet> elements in order (worksheets and kept chart sheets), `activeTab`
// the 0-based position of the active one, `moved` the new position of each sheet of the file by
// its old one (a sheet deleted has none), `names` what becomes of each kept defined name's formula
// after the sheets' renames and the cells moved since the file was read (empty: nothing).
std::string WorkbookPartXml(const KeptPackage& kept, const std::vector<RawTag>& sheets,
                            int activeTab, const std::map<int, int>& moved,
                            const FormulaMove& names);

// The defined names of `xml` (a definedNames element) with the sheets they are local to
// renumbered by `moved`; a name local to a sheet no longer there goes, as it does in the
// spreadsheet when the sheet is deleted.
std::string RenumberLocalNames(std::string_view xml, const std::map<int, int>& moved);

}  // namespace tezlo
