#include "memory/sheet_names.h"

#include <cstdint>

#include "host/host_error.h"
#include "text/case_fold.h"

namespace tezlo {

void CheckSheetName(std::string_view name) {
  const std::optional<size_t> length = CodePointCount(name);
  if (!length) throw HostError("sheet name is not valid text");
  if (*length == 0) throw HostError("sheet name is empty");
  if (*length > 31) throw HostError("sheet name is longer than 31 characters");
  if (name.find_first_of(":\\/?*[]") != std::string_view::npos) {
    throw HostError("sheet name holds a character that is not allowed");
  }
}

std::string NextSheetName(const std::vector<std::string>& taken) {
  int64_t largest = 0;
  for (const std::string& name : taken) {
    if (name.size() <= 5 || name.size() > 15 || !EqualsIgnoringCase(name.substr(0, 5), "Sheet")) {
      continue;
    }
    int64_t n = 0;
    bool digits = true;
    for (size_t i = 5; i < name.size() && digits; ++i) {
      if (name[i] < '0' || name[i] > '9') {
        digits = false;
      } else {
        n = n * 10 + (name[i] - '0');
      }
    }
    if (digits && name[5] != '0' && n > largest) largest = n;
  }
  return "Sheet" + std::to_string(largest + 1);
}

}  // namespace tezlo
