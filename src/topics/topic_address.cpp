#include "topics/topic_address.h"

#include <algorithm>

#include "dispatch/conversions.h"
#include "host/host_error.h"
#include "text/ascii.h"

namespace tezlo {

std::optional<Cell> ParseTopicAddress(std::string_view code) {
  if (code.empty() || !IsAsciiDigit(code.front())) return std::nullopt;
  const std::string_view rowPart = TrimBlanks(code.substr(1));
  if (rowPart.empty() || !std::all_of(rowPart.begin(), rowPart.end(), IsAsciiDigit))
    return std::nullopt;

  int32_t row = 0;
  try {
    row = ToWholeNumber(rowPart);
  } catch (const HostError&) {
    return std::nullopt;  // too large for a row number
  }
  const int32_t col = code.front() - '0';
  return Cell{std::max(row, 1), std::max(col, 1)};
}

}  // namespace tezlo
