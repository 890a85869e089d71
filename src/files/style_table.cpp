#include "files/style_table.h"

#include <algorithm>

#include "files/number_formats.h"
#include "files/palette.h"
#include "files/xml_text.h"

namespace tezlo {

namespace {

constexpr int kFirstCustomFormat = 164;

}  // namespace

StyleTable::StyleTable() { IndexOf("General", 0, false); }

uint32_t StyleTable::IndexOf(const std::string& numberFormat, int colorIndex, bool quotePrefix) {
  Key key{numberFormat, colorIndex, quotePrefix};
  auto it = index_.find(key);
  if (it != index_.end()) return it->second;
  const auto index = static_cast<uint32_t>(keys_.size());
  index_.emplace(key, index);
  keys_.push_back(std::move(key));
  return index;
}

std::string StyleTable::StylesXml() const {
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
    if (color != 0 && fillIds.count(color) == 0) fillIds.emplace(color, 2 + static_cast<int>(fillIds.size()));
  }
  std::string fills = "<fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>";
  std::vector<std::pair<int, int>> byId;
  for (const auto& [color, id] : fillIds) byId.emplace_back(id, color);
  std::sort(byId.begin(), byId.end());
  for (const auto& [id, color] : byId) {
    fills += "<fill><patternFill patternType=\"solid\"><fgColor indexed=\"" +
             std::to_string(IndexedColorOf(color)) + "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
  }

  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  if (!formatIds.empty()) {
    out += "<numFmts count=\"" + std::to_string(formatIds.size()) + "\">" + numFmts + "</numFmts>";
  }
  out += "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>";
  out += "<fills count=\"" + std::to_string(2 + fillIds.size()) + "\">" + fills + "</fills>";
  out += "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>";
  out += "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
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
  out += "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";
  out += "</styleSheet>";
  return out;
}

}  // namespace tezlo
