#include "files/chart_refs.h"

#include "files/raw_tag.h"
#include "files/xml_text.h"
#include "memory/other_workbook_refs.h"
#include "text/case_fold.h"

namespace tezlo {

namespace {

// Where a formula's text lies in the part: between the end of its start tag and its end tag.
struct TextSpan {
  size_t begin = 0;
  size_t end = 0;
};

// The text spans of every f element holding only text, in file order; nothing when the part's tags
// do not nest (an element left open, or closed by another's end tag). An f holding markup, a
// comment or a CDATA section is not one of them.
std::optional<std::vector<TextSpan>> FindFormulas(std::string_view xml) {
  std::vector<TextSpan> out;
  std::vector<std::string_view> open;
  size_t pos = 0;
  while (true) {
    const TagSpan tag = NextTagSpan(xml, pos);
    if (tag.begin == std::string_view::npos) break;
    pos = tag.end;
    if (tag.empty) continue;
    if (tag.closing) {
      if (open.empty() || open.back() != tag.local) return std::nullopt;
      open.pop_back();
      continue;
    }
    open.push_back(tag.local);
    if (tag.local != "f") continue;
    const TagSpan end = NextTagSpan(xml, tag.end);
    if (end.begin == std::string_view::npos || !end.closing || end.local != "f") continue;
    if (xml.substr(tag.end, end.begin - tag.end).find('<') != std::string_view::npos) continue;
    out.push_back(TextSpan{tag.end, end.begin});
  }
  if (!open.empty()) return std::nullopt;
  return out;
}

// The formula a span holds, as it reads; nothing for an entity XML does not define.
std::optional<std::string> FormulaText(std::string_view xml, const TextSpan& span) {
  const std::optional<std::string> text =
      DecodeEntities(xml.substr(span.begin, span.end - span.begin));
  if (!text) return std::nullopt;
  return DecodeEscapes(*text);
}

// The formula with each reference naming a renamed sheet by its read name naming it by its new
// one; every reference is looked up in the names the file had, so renames do not chain.
std::optional<std::string> Renamed(std::string_view formula, const std::vector<SheetMoves>& sheets,
                                   GridSize grid) {
  std::string out;
  size_t copied = 0;
  bool changed = false;
  for (const FormulaRef& ref : FindFormulaRefs(formula, grid)) {
    if (!ref.sheet || ref.foreign || RefersToOtherWorkbook(formula, ref)) continue;
    const SheetMoves* sheet = nullptr;
    for (const SheetMoves& s : sheets) {
      if (EqualsIgnoringCase(*ref.sheet, s.readName)) {
        sheet = &s;
        break;
      }
    }
    if (sheet == nullptr || sheet->name == sheet->readName) continue;
    out.append(formula.substr(copied, ref.prefixBegin - copied));
    out += SheetPrefix(sheet->name);
    copied = ref.begin;
    changed = true;
  }
  if (!changed) return std::nullopt;
  out.append(formula.substr(copied));
  return out;
}

}  // namespace

std::optional<std::string> MoveChartFormula(std::string_view formula,
                                            const std::vector<SheetMoves>& sheets, GridSize grid) {
  std::optional<std::string> renamed = Renamed(formula, sheets, grid);
  std::string text = renamed ? std::move(*renamed) : std::string(formula);
  bool changed = renamed.has_value();
  for (const SheetMoves& s : sheets) {
    if (s.shifts == nullptr) continue;
    for (const RefShift& shift : *s.shifts) {
      // The shift names the sheet as it was called then; the formula now calls it by its name.
      std::optional<std::string> moved;
      if (shift.sheetName == s.name) {
        moved = ShiftFormulaRefs(text, false, shift);
      } else {
        RefShift here = shift;
        here.sheetName = s.name;
        moved = ShiftFormulaRefs(text, false, here);
      }
      if (moved) {
        text = std::move(*moved);
        changed = true;
      }
    }
  }
  if (!changed || text == formula) return std::nullopt;
  return text;
}

std::string ShiftChartPart(std::string xml, const FormulaMove& move) {
  const std::optional<std::vector<TextSpan>> spans = FindFormulas(xml);
  if (!spans || spans->empty()) return xml;
  std::string out;
  size_t copied = 0;
  bool changed = false;
  for (const TextSpan& span : *spans) {
    const std::optional<std::string> text = FormulaText(xml, span);
    if (!text) continue;
    const std::optional<std::string> moved = move(*text);
    if (!moved) continue;
    out.append(xml, copied, span.begin - copied);
    AppendXmlText(out, *moved);
    copied = span.end;
    changed = true;
  }
  if (!changed) return xml;
  out.append(xml, copied, std::string::npos);
  return out;
}

std::optional<std::vector<std::string>> ChartPartFormulas(std::string_view xml) {
  const std::optional<std::vector<TextSpan>> spans = FindFormulas(xml);
  if (!spans) return std::nullopt;
  std::vector<std::string> out;
  for (const TextSpan& span : *spans) {
    if (std::optional<std::string> text = FormulaText(xml, span)) out.push_back(std::move(*text));
  }
  return out;
}

}  // namespace tezlo
