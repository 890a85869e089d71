// Wires the xlsx file layer into the in-memory host.
#pragma once

#include "memory/memory_host.h"

namespace tezlo {

// Makes the host save workbooks as xlsx through SaveWorkbook; a FileError becomes the HostError
// the host's callers expect, with the same one-line reason.
void UseXlsxFiles(MemoryHost& host);

}  // namespace tezlo
