// libFuzzer target over the xlsx reader and writer: any input must load or end in a FileError;
// a workbook that loads is saved, and what was saved must load again. Anything else (a crash,
// another exception, a saved package that does not open, a sanitizer report, a leak) is a
// finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "files/workbook_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tezlo::LoadOptions options;
  options.maxPartBytes = 16 << 20;
  options.maxPackageBytes = 32 << 20;
  options.maxCells = 1 << 20;
  std::unique_ptr<tezlo::Workbook> book;
  try {
    book = tezlo::LoadWorkbookFromBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                                        "fuzz.xlsx", options);
  } catch (const tezlo::FileError&) {
    return 0;
  }
  const std::string saved = tezlo::SaveWorkbookToBytes(*book);
  try {
    tezlo::LoadWorkbookFromBytes(saved, "saved.xlsx", options);
  } catch (const tezlo::FileError& e) {
    std::fprintf(stderr, "a loaded workbook was saved as a file that does not open: %s\n",
                 e.what());
    std::abort();
  }
  return 0;
}
