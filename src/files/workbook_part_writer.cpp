#include "files/workbook_part_writer.h"

#include <charconv>

#include "files/kept_references.h"

namespace tezlo {

namespace {

// Positions in the workbook's schema sequence, as the reader numbers them (package_parts.cpp).
constexpr int kBookViews = 4;
constexpr int kSheets = 5;
constexpr int kCalcPr = 9;

int ParseIntOr(const RawAttr* attr, int fallback) {
  if (attr == nullptr) return fallback;
  int v = fallback;
  const auto r = std::from_chars(attr->value.data(), attr->value.data() + attr->value.size(), v);
  return r.ec == std::errc() ? v : fallback;
}

void BookViews(std::string& out, const KeptPackage& kept, int sheetCount, int activeTab) {
  if (!kept.bookViews || kept.bookViews->tagEnd > kept.bookViews->xml.size()) {
    out += "<bookViews><workbookView activeTab=\"" + std::to_string(activeTab) + "\"/></bookViews>";
    return;
  }
  const KeptView& view = *kept.bookViews;
  auto tag =
      ParseStartTag(std::string_view(view.xml).substr(view.tagBegin, view.tagEnd - view.tagBegin));
  if (!tag) {
    out += view.xml;
    return;
  }
  if (activeTab != 0 || tag->Find("activeTab") != nullptr)
    tag->Set("activeTab", std::to_string(activeTab));
  // The first tab shown must be a sheet that still exists.
  if (ParseIntOr(tag->Find("firstSheet"), 0) >= sheetCount) tag->Remove("firstSheet");
  out += view.xml.substr(0, view.tagBegin);
  tag->AppendTo(out);
  out += view.xml.substr(view.tagEnd);
}

}  // namespace

std::string RenumberLocalNames(std::string_view xml, const std::map<int, int>& moved) {
  std::string out;
  size_t copied = 0;
  for (size_t lt = xml.find('<'); lt != std::string_view::npos; lt = xml.find('<', lt + 1)) {
    const size_t nameEnd = xml.find_first_of(" \t\r\n/>", lt + 1);
    if (nameEnd == std::string_view::npos) break;
    const std::string_view name = xml.substr(lt + 1, nameEnd - lt - 1);
    if (LocalName(name) != "definedName") continue;
    const size_t tagEnd = xml.find('>', lt);
    if (tagEnd == std::string_view::npos) break;
    auto tag = ParseStartTag(xml.substr(lt, tagEnd + 1 - lt));
    const RawAttr* local = tag ? tag->Find("localSheetId") : nullptr;
    if (local == nullptr) continue;
    // A name holds only its formula's text: it ends at its end tag.
    size_t end = tagEnd + 1;
    if (!tag->empty) {
      const size_t close = xml.find("</" + std::string(name), end);
      const size_t closeEnd = close == std::string_view::npos ? close : xml.find('>', close);
      if (closeEnd == std::string_view::npos) break;  // never so in bytes the parser accepted
      end = closeEnd + 1;
    }
    out += xml.substr(copied, lt - copied);
    if (const auto to = moved.find(ParseIntOr(local, -1)); to != moved.end()) {
      tag->Set("localSheetId", std::to_string(to->second));
      tag->AppendTo(out);
      out += xml.substr(tagEnd + 1, end - tagEnd - 1);
    }
    copied = end;
    lt = end - 1;
  }
  out += xml.substr(copied);
  return out;
}

std::string WorkbookPartXml(const KeptPackage& kept, const std::vector<RawTag>& sheets,
                            int activeTab, const std::map<int, int>& moved,
                            const FormulaMove& names) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  RootTag(kept.workbookRoot, "workbook").AppendTo(out);
  size_t next = 0;
  auto keptBefore = [&](int order) {
    while (next < kept.workbookElements.size() && kept.workbookElements[next].order < order) {
      const KeptElement& e = kept.workbookElements[next++];
      out += e.name == "definedNames" ? MoveDefinedNames(RenumberLocalNames(e.xml, moved), names)
                                      : e.xml;
    }
  };
  keptBefore(kBookViews);
  BookViews(out, kept, static_cast<int>(sheets.size()), activeTab);
  keptBefore(kSheets);
  out += "<sheets>";
  for (const RawTag& s : sheets) s.AppendTo(out);
  out += "</sheets>";
  keptBefore(kCalcPr);
  // The saved cells carry their last values; the spreadsheet recalculates them on opening.
  RawTag calc;
  if (kept.calcPr) {
    calc = *kept.calcPr;
  } else {
    calc.name = "calcPr";
    calc.attrs.push_back(RawAttr{"calcId", "0"});
  }
  calc.empty = true;
  calc.Set("fullCalcOnLoad", "1");
  calc.AppendTo(out);
  keptBefore(INT32_MAX);
  out += "</workbook>";
  return out;
}

}  // namespace tezlo
