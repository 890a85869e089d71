#include "topics/topic_address.h"

#include <algorithm>

#include "dispatch/conversions.h"
#include "host/host_error.h"

namespace tezlo {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Cell> ParseTopicAddress(std::string_view code) {
  if (code.empty() || !IsDigit(code.front())) return std::nullopt;
  const std::string_view rowPart = TrimBlanks(code.substr(1));
  if (rowPart.empty() || !std::all_of(rowPart.begin(), rowPart.end(), IsDigit)) return std::nullopt;

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
