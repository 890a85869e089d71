// Writes the workbook part: the file's own content (names, settings, external references, pivot
// caches, extensions ...) in its schema order, with the sheet list, the active tab and the
// calculation settings the engine decides.
#pragma once

#include <string>
#include <vector>

#include "files/kept_content.h"

namespace tezlo {

// `sheets` are the <sheet> elements in order (worksheets and kept chart sheets), `activeTab`
// the 0-based position of the active one.
std::string WorkbookPartXml(const KeptPackage& kept, const std::vector<RawTag>& sheets, int activeTab);

}  // namespace tezlo
