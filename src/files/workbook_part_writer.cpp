#include "files/workbook_part_writer.h"

#include <charconv>

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
  auto tag = ParseStartTag(std::string_view(view.xml).substr(view.tagBegin, view.tagEnd - view.tagBegin));
  if (!tag) {
    out += view.xml;
    return;
  }
  if (activeTab != 0 || tag->Find("activeTab") != nullptr) tag->Set("activeTab", std::to_string(activeTab));
  // The first tab shown must be a sheet that still exists.
  if (ParseIntOr(tag->Find("firstSheet"), 0) >= sheetCount) tag->Remove("firstSheet");
  out += view.xml.substr(0, view.tagBegin);
  tag->AppendTo(out);
  out += view.xml.substr(view.tagEnd);
}

}  // namespace

std::string WorkbookPartXml(const KeptPackage& kept, const std::vector<RawTag>& sheets, int activeTab) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  RootTag(kept.workbookRoot, "workbook").AppendTo(out);
  size_t next = 0;
  auto keptBefore = [&](int order) {
    while (next < kept.workbookElements.size() && kept.workbookElements[next].order < order) {
      out += kept.workbookElements[next++].xml;
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
