// The hook through which the in-memory host writes a workbook to a file: set by the file layer.
#pragma once

#include <functional>
#include <string>

#include "memory/workbook.h"

namespace tezlo {

// Writes `book` to `path`; throws HostError when the file cannot be written.
using WorkbookSaver = std::function<void(const Workbook& book, const std::string& path)>;

}  // namespace tezlo
