// The cell formats a workbook being written uses, numbered as the styles part lists them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tezlo {

class StyleTable {
 public:
  StyleTable();
  // The index of the format with this number format, fill (ColorIndex, 0 none) and
  // leading-apostrophe flag; 0 is "General", no fill, no apostrophe.
  uint32_t IndexOf(const std::string& numberFormat, int colorIndex, bool quotePrefix);
  // The styles part listing every format handed out.
  std::string StylesXml() const;

 private:
  using Key = std::tuple<std::string, int, bool>;
  std::map<Key, uint32_t> index_;
  std::vector<Key> keys_;
};

}  // namespace tezlo
