// Raised by an adapter wherever the spreadsheet would raise a run-time error.
#pragma once

#include <stdexcept>
#include <string>

namespace tezlo {

class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tezlo
