#include "files/core_properties.h"

#include <array>
#include <regex>

namespace tezlo {

std::string WithModifiedTime(std::string_view xml, std::time_t when) {
  std::tm utc{};
  gmtime_r(&when, &utc);
  std::array<char, 32> text{};
  const size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
  const std::string stamp(text.data(), n);
  std::string out(xml);
  // <prefix:modified ...>time</prefix:modified>, whatever the prefix.
  static const std::regex kModified(
      "<([A-Za-z_][-.\\w]*:)?modified(\\s[^>]*)?>[^<]*</\\1modified>");
  std::smatch m;
  if (std::regex_search(out, m, kModified)) {
    const std::string whole = m.str(0);
    const size_t open = whole.find('>') + 1;
    const size_t close = whole.rfind("</");
    const auto at = static_cast<size_t>(m.position(0));
    out.replace(at + open, close - open, stamp);
    return out;
  }
  const size_t end = out.rfind("</");
  if (end == std::string::npos) return out;
  out.insert(
      end,
      "<dcterms:modified xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"dcterms:W3CDTF\">" +
          stamp + "</dcterms:modified>");
  return out;
}

}  // namespace tezlo
