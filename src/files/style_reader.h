// The cell formats of a package's styles part, as the engine keeps them: number format, fill
// colour and the leading-apostrophe flag. Formatting the engine does not keep is reported.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/xml_reader.h"

namespace tezlo {

// Formatting of a cell format that the engine does not keep, as bits.
enum LostFormatting : unsigned {
  kLostFont = 1,
  kLostBorder = 2,
  kLostAlignment = 4,
  kLostProtection = 8,
  kLostPattern = 16,
  kLostGradient = 32,
  kLostNumberFormat = 64,
};
// Adds a description of every bit of `lost` to `out`.
void DescribeLostFormatting(unsigned lost, std::set<std::string>& out);

struct CellStyle {
  std::string numberFormat = "General";
  int colorIndex = 0;  // 0: no fill
  bool quotePrefix = false;
  bool isDate = false;
  unsigned lost = 0;  // LostFormatting bits
};

class StyleReader final : public XmlHandler {
 public:
  // Descriptions of what the engine will not keep go into `unmodelled`.
  explicit StyleReader(std::set<std::string>& unmodelled) : unmodelled_(unmodelled) {}

  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;

  // The cell formats by index (cellXfs), resolved once the part is read. Index 0 always exists.
  std::vector<CellStyle> Resolve();

 private:
  struct Color {
    enum class Kind { None, Auto, Rgb, Indexed, Theme } kind = Kind::None;
    uint32_t rgb = 0;
    int number = 0;
    double tint = 0;
  };
  struct Fill {
    std::string pattern;  // patternType; empty for a gradient
    Color fg;
    bool gradient = false;
  };
  struct Xf {
    int numFmtId = 0;
    int fontId = 0;
    int fillId = 0;
    int borderId = 0;
    bool quotePrefix = false;
    bool alignment = false;
    bool protection = false;
  };
  static Color ReadColor(const XmlAttrs& attrs);
  int ColorIndexOf(const Color& c) const;

  std::set<std::string>& unmodelled_;
  std::vector<std::string> path_;
  std::vector<std::pair<int, std::string>> numFmts_;
  std::vector<std::string> fonts_;  // each font's description, to compare with the default
  std::vector<Fill> fills_;
  std::vector<bool> borderDrawn_;
  std::vector<Xf> xfs_;
  std::vector<uint32_t> customPalette_;
};

}  // namespace tezlo
