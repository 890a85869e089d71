// The cell formats a workbook being written uses, numbered as the styles part lists them.
//
// A workbook read from a file writes its styles part back as it was read; a cell whose colour,
// number format or quote prefix a tool changed gets a format derived from its own (the same
// font, border, alignment and protection, that one attribute replaced), appended once at the end
// of the cell formats with the fill or number format it needs. A new workbook gets a generated
// part holding only the formats its cells use.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "files/style_reader.h"

namespace tezlo {

class StyleTable {
 public:
  // For a new workbook: a generated styles part.
  StyleTable();
  // For a workbook read from a file: its styles part, kept.
  explicit StyleTable(std::shared_ptr<const FileStyles> kept);

  // The index of the format with this number format, fill (ColorIndex, 0 none) and
  // leading-apostrophe flag, made from `base` (a cell's own format number; ignored for a new
  // workbook): `base` itself when it has those, else one derived from it.
  uint32_t IndexOf(uint32_t base, const std::string& numberFormat, int colorIndex,
                   bool quotePrefix);
  uint32_t IndexOf(const std::string& numberFormat, int colorIndex, bool quotePrefix) {
    return IndexOf(0, numberFormat, colorIndex, quotePrefix);
  }
  // Whether the part is one read from a file, and how many formats it lists (format numbers
  // below that count are valid in it).
  bool Kept() const { return kept_ != nullptr; }
  uint32_t Count() const { return kept_ ? static_cast<uint32_t>(kept_->styles.size()) : 0; }
  // The styles part listing every format handed out.
  std::string StylesXml() const;

 private:
  uint32_t Derive(uint32_t base, const std::string& numberFormat, int colorIndex, bool quotePrefix);
  std::string GeneratedXml() const;

  using Key = std::tuple<std::string, int, bool>;
  // New workbook: formats in order of first use.
  std::map<Key, uint32_t> index_;
  std::vector<Key> keys_;

  // Workbook from a file: derived formats by (base, attributes), and what they add to the part.
  std::shared_ptr<const FileStyles> kept_;
  std::map<std::tuple<uint32_t, std::string, int, bool>, uint32_t> derived_;
  std::map<int, int> fillOf_;            // ColorIndex -> fill id appended
  std::map<std::string, int> numFmtOf_;  // format code -> id appended
  std::string newXfs_;
  std::string newFills_;
  std::string newNumFmts_;
  int xfCount_ = 0;
};

}  // namespace tezlo
