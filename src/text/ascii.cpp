#include "text/ascii.h"

namespace tezlo {

namespace {

template <typename Trimmed>
std::string_view TrimWhere(std::string_view text, Trimmed trimmed) {
  while (!text.empty() && trimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && trimmed(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view TrimSpaces(std::string_view text) {
  return TrimWhere(text, [](char c) { return c == ' '; });
}

std::string_view TrimBlanks(std::string_view text) { return TrimWhere(text, IsBlank); }

std::string_view TrimWhiteSpace(std::string_view text) { return TrimWhere(text, IsWhiteSpace); }

}  // namespace tezlo
