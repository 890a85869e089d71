// The cell formats of a package's styles part, read two ways: each format's attributes the
// engine models (number format, fill colour, the leading-apostrophe flag), and the whole part
// kept as it was read (fonts, borders, fills, named styles, differential formats, table styles,
// the palette, extensions), so that it is written back unchanged and cells keep their formats.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/xml_reader.h"

namespace tezlo {

// What a cell format shows of the attributes the engine models.
struct CellStyle {
  std::string numberFormat = "General";
  int colorIndex = 0;  // 0: no fill
  bool quotePrefix = false;
  bool isDate = false;
};

// One cell format (cellXfs entry) of a kept styles part.
struct KeptXf {
  std::string text;  // the <xf> element as it appears in the part; empty when not found there
  int numFmtId = 0;
  int fontId = 0;
  int fillId = 0;
  int borderId = 0;
  int xfId = 0;
};

// The styles part of a workbook read from a file (see Workbook::Styles).
struct FileStyles {
  std::string xml;                // the part as read
  std::vector<CellStyle> styles;  // by cell format index; index 0 always exists
  std::vector<KeptXf> xfs;        // parallel to `styles` when the part lists them
  int maxNumFmtId = 0;            // the largest number format id the part defines
  int fillCount = 0;              // fills the part lists
  bool customPalette = false;     // indexed colours mean the part's own palette
};

class StyleReader final : public XmlHandler {
 public:
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;

  // The cell formats by index (cellXfs), resolved once the part is read. Index 0 always exists.
  std::vector<CellStyle> Resolve();
  // The kept part: `xml` is the part's text as read (ZipPackage::ParseXml keeps it).
  std::shared_ptr<const FileStyles> Keep(std::string xml);

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
    int xfId = 0;
    bool quotePrefix = false;
  };
  static Color ReadColor(const XmlAttrs& attrs);
  int ColorIndexOf(const Color& c) const;

  std::vector<std::string> path_;
  std::vector<std::pair<int, std::string>> numFmts_;
  std::vector<Fill> fills_;
  std::vector<Xf> xfs_;
  std::vector<uint32_t> customPalette_;
  std::vector<CellStyle> resolved_;
};

}  // namespace tezlo
