// Integer arithmetic that fails the way the spreadsheet's macro language does: division by zero
// is an error, not undefined behaviour.
#pragma once

#include <cstdint>

#include "host/host_error.h"

namespace tezlo {

// floor(a / b) for any signs; HostError when b is 0.
inline int64_t FloorDiv(int64_t a, int64_t b) {
  if (b == 0) throw HostError("Division by zero");
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace tezlo
