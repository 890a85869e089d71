#include "files/xlsx_files.h"

#include "files/workbook_file.h"
#include "host/host_error.h"

namespace tezlo {

void UseXlsxFiles(MemoryHost& host) {
  host.SetSaver([](const Workbook& book, const std::string& path) {
    try {
      SaveWorkbook(book, path);
    } catch (const FileError& e) {
      throw HostError(e.what());
    }
  });
}

}  // namespace tezlo
