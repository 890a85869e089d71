// libFuzzer target over the xlsx reader: any input must load or end in a FileError; anything
// else (a crash, another exception, a sanitizer report, a leak) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/workbook_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tezlo::LoadOptions options;
  options.maxPartBytes = 16 << 20;
  options.maxPackageBytes = 32 << 20;
  options.maxCells = 1 << 20;
  try {
    const auto book = tezlo::LoadWorkbookFromBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xlsx", options);
  } catch (const tezlo::FileError&) {
  }
  return 0;
}
