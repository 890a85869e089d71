#include "files/style_table.h"

#include <algorithm>
#include <cstdio>

#include "files/number_formats.h"
#include "files/palette.h"
#include "files/styles_xml.h"
#include "files/xml_text.h"
#include "memory/number_format_names.h"

namespace tezlo {

namespace {

constexpr int kFirstCustomFormat = 164;

}  // namespace

StyleTable::StyleTable() { IndexOf("General", 0, false); }

StyleTable::StyleTable(std::shared_ptr<const FileStyles> kept) : kept_(std::move(kept)) {
  xfCount_ = static_cast<int>(kept_->styles.size());
}

uint32_t StyleTable::IndexOf(uint32_t base, const std::string& numberFormat, int colorIndex,
                             bool quotePrefix) {
  if (kept_) {
    // A format number the part does not list (a cell copied from another workbook) derives
    // from the default format.
    if (base >= kept_->styles.size()) base = 0;
    const CellStyle& own = kept_->styles[base];
    if (own.numberFormat == numberFormat && own.colorIndex == colorIndex &&
        own.quotePrefix == quotePrefix) {
      return base;
    }
    return Derive(base, numberFormat, colorIndex, quotePrefix);
  }
  Key key{numberFormat, colorIndex, quotePrefix};
  auto it = index_.find(key);
  if (it != index_.end()) return it->second;
  const auto index = static_cast<uint32_t>(keys_.size());
  index_.emplace(key, index);
  keys_.push_back(std::move(key));
  return index;
}

uint32_t StyleTable::Derive(uint32_t base, const std::string& numberFormat, int colorIndex,
                            bool quotePrefix) {
  const auto key = std::make_tuple(base, numberFormat, colorIndex, quotePrefix);
  if (auto it = derived_.find(key); it != derived_.end()) return it->second;
  const CellStyle& own = kept_->styles[base];
  const std::string prefix = RootPrefix(kept_->xml);
  std::string xf;
  if (base < kept_->xfs.size() && !kept_->xfs[base].text.empty()) {
    xf = kept_->xfs[base].text;
  } else {
    const KeptXf plain = base < kept_->xfs.size() ? kept_->xfs[base] : KeptXf{};
    xf = "<" + prefix + "xf numFmtId=\"" + std::to_string(plain.numFmtId) + "\" fontId=\"" +
         std::to_string(plain.fontId) + "\" fillId=\"" + std::to_string(plain.fillId) +
         "\" borderId=\"" + std::to_string(plain.borderId) + "\" xfId=\"" +
         std::to_string(plain.xfId) + "\"/>";
  }
  if (own.numberFormat != numberFormat) {
    int id = 0;
    if (const auto builtin = BuiltinNumberFormatId(numberFormat)) {
      id = *builtin;
    } else if (auto it = numFmtOf_.find(numberFormat); it != numFmtOf_.end()) {
      id = it->second;
    } else {
      id =
          std::max(kFirstCustomFormat, kept_->maxNumFmtId + 1) + static_cast<int>(numFmtOf_.size());
      numFmtOf_.emplace(numberFormat, id);
      newNumFmts_ += "<" + prefix + "numFmt numFmtId=\"" + std::to_string(id) + "\" formatCode=\"";
      AppendXmlText(newNumFmts_, numberFormat, true);
      newNumFmts_ += "\"/>";
    }
    xf = WithAttribute(std::move(xf), "numFmtId", std::to_string(id));
    xf = WithAttribute(std::move(xf), "applyNumberFormat", "1");
  }
  if (own.colorIndex != colorIndex) {
    int fill = 0;
    if (colorIndex != 0) {
      if (auto it = fillOf_.find(colorIndex); it != fillOf_.end()) {
        fill = it->second;
      } else {
        fill = kept_->fillCount + static_cast<int>(fillOf_.size());
        fillOf_.emplace(colorIndex, fill);
        // A part with a palette of its own gives indexed colours other meanings: name the
        // colour itself there.
        std::string color;
        if (kept_->customPalette) {
          char rgb[16];
          std::snprintf(rgb, sizeof rgb, "FF%06X", static_cast<unsigned>(PaletteColor(colorIndex)));
          color = std::string("rgb=\"") + rgb + "\"";
        } else {
          color = "indexed=\"" + std::to_string(IndexedColorOf(colorIndex)) + "\"";
        }
        newFills_ += "<" + prefix + "fill><" + prefix + "patternFill patternType=\"solid\"><" +
                     prefix + "fgColor " + color + "/><" + prefix + "bgColor indexed=\"64\"/></" +
                     prefix + "patternFill></" + prefix + "fill>";
      }
    }
    xf = WithAttribute(std::move(xf), "fillId", std::to_string(fill));
    xf = WithAttribute(std::move(xf), "applyFill", "1");
  }
  if (own.quotePrefix != quotePrefix)
    xf = WithAttribute(std::move(xf), "quotePrefix", quotePrefix ? "1" : "");
  newXfs_ += xf;
  const auto index = static_cast<uint32_t>(xfCount_++);
  derived_.emplace(key, index);
  return index;
}

std::string StyleTable::StylesXml() const {
  if (!kept_) return GeneratedXml();
  if (newXfs_.empty()) return kept_->xml;
  std::string xml = kept_->xml;
  if (!newNumFmts_.empty())
    xml = AppendToList(std::move(xml), "numFmts", newNumFmts_, static_cast<int>(numFmtOf_.size()));
  if (!newFills_.empty())
    xml = AppendToList(std::move(xml), "fills", newFills_, static_cast<int>(fillOf_.size()));
  return AppendToList(std::move(xml), "cellXfs", newXfs_, static_cast<int>(derived_.size()));
}

std::string StyleTable::GeneratedXml() const {
  // Custom number formats and fills, numbered in order of first use.
  std::map<std::string, int> formatIds;
  std::map<int, int> fillIds;  // ColorIndex -> fill
  std::string numFmts;
  for (const auto& [format, color, quote] : keys_) {
    if (!BuiltinNumberFormatId(format) && formatIds.count(format) == 0) {
      const int id = kFirstCustomFormat + static_cast<int>(formatIds.size());
      formatIds.emplace(format, id);
      numFmts += "<numFmt numFmtId=\"" + std::to_string(id) + "\" formatCode=\"";
      AppendXmlText(numFmts, format, true);
      numFmts += "\"/>";
    }
    if (color != 0 && fillIds.count(color) == 0)
      fillIds.emplace(color, 2 + static_cast<int>(fillIds.size()));
  }
  std::string fills =
      "<fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
      "patternType=\"gray125\"/></fill>";
  std::vector<std::pair<int, int>> byId;
  for (const auto& [color, id] : fillIds) byId.emplace_back(id, color);
  std::sort(byId.begin(), byId.end());
  for (const auto& [id, color] : byId) {
    fills += "<fill><patternFill patternType=\"solid\"><fgColor indexed=\"" +
             std::to_string(IndexedColorOf(color)) +
             "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
  }

  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  if (!formatIds.empty()) {
    out += "<numFmts count=\"" + std::to_string(formatIds.size()) + "\">" + numFmts + "</numFmts>";
  }
  out +=
      "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family "
      "val=\"2\"/></font></fonts>";
  out += "<fills count=\"" + std::to_string(2 + fillIds.size()) + "\">" + fills + "</fills>";
  out +=
      "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>";
  out +=
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
      "borderId=\"0\"/></cellStyleXfs>";
  out += "<cellXfs count=\"" + std::to_string(keys_.size()) + "\">";
  for (const auto& [format, color, quote] : keys_) {
    const auto builtin = BuiltinNumberFormatId(format);
    const int numFmtId = builtin ? *builtin : formatIds.at(format);
    const int fillId = color != 0 ? fillIds.at(color) : 0;
    out += "<xf numFmtId=\"" + std::to_string(numFmtId) + "\" fontId=\"0\" fillId=\"" +
           std::to_string(fillId) + "\" borderId=\"0\" xfId=\"0\"";
    if (numFmtId != 0) out += " applyNumberFormat=\"1\"";
    if (fillId != 0) out += " applyFill=\"1\"";
    if (quote) out += " quotePrefix=\"1\"";
    out += "/>";
  }
  out +=
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
      "builtinId=\"0\"/></cellStyles>";
  out += "</styleSheet>";
  return out;
}

}  // namespace tezlo
