#include "files/kept_references.h"

#include <climits>
#include <cstdlib>
#include <optional>

#include "host/a1_address.h"
#include "files/xml_text.h"
#include "memory/reference_shift.h"
#include "text/ascii.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

using Tag = TagSpan;

// The next tag at or after `pos`, if any (see NextTagSpan).
std::optional<Tag> NextTag(std::string_view xml, size_t pos) {
  const Tag tag = NextTagSpan(xml, pos);
  if (tag.begin == std::string_view::npos) return std::nullopt;
  return tag;
}

// The value span of attribute `name` (unprefixed) in the tag, if it has one.
std::optional<std::pair<size_t, size_t>> AttrSpan(std::string_view xml, const Tag& tag,
                                                  std::string_view name) {
  size_t i = tag.begin + 1;
  while (i < tag.end) {
    // Past the tag's name, then attribute by attribute.
    while (i < tag.end && !IsWhiteSpace(xml[i])) {
      if (xml[i] == '"' || xml[i] == '\'') {
        const size_t close = xml.find(xml[i], i + 1);
        if (close == std::string_view::npos || close >= tag.end) return std::nullopt;
        i = close;
      }
      ++i;
    }
    while (i < tag.end && IsWhiteSpace(xml[i])) ++i;
    const size_t nameBegin = i;
    while (i < tag.end && xml[i] != '=' && xml[i] != ' ' && xml[i] != '>' && xml[i] != '/') ++i;
    const std::string_view attr = xml.substr(nameBegin, i - nameBegin);
    while (i < tag.end && (xml[i] == ' ' || xml[i] == '=')) ++i;
    if (i >= tag.end || (xml[i] != '"' && xml[i] != '\'')) return std::nullopt;
    const size_t close = xml.find(xml[i], i + 1);
    if (close == std::string_view::npos || close >= tag.end) return std::nullopt;
    if (attr == name) return std::make_pair(i + 1, close);
    i = close + 1;
  }
  return std::nullopt;
}

std::string_view AttrValue(std::string_view xml, const std::pair<size_t, size_t>& span) {
  return xml.substr(span.first, span.second - span.first);
}

// The end of the element whose start tag is `start`: past its closing tag.
size_t ElementEnd(std::string_view xml, const Tag& start) {
  if (start.empty) return start.end;
  int depth = 1;
  size_t pos = start.end;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    if (tag->closing) {
      if (--depth == 0) return tag->end;
    } else if (!tag->empty) {
      ++depth;
    }
    pos = tag->end;
  }
  return xml.size();
}

Cell FirstCellOf(std::string_view sqref) {
  const size_t space = sqref.find(' ');
  if (const std::optional<Area> area = ParseAreaRef(sqref.substr(0, space))) return area->first;
  return Cell{1, 1};
}

// Replaces the text of every `formula`, `formula1` and `formula2` child in [from, to) of `xml`
// by the formula moved from the range's old top-left cell to its new one.
void ShiftFormulasIn(std::string& xml, size_t from, size_t& to, Cell oldTopLeft, Cell newTopLeft,
                     const RefShift& shift) {
  size_t pos = from;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    if (tag->begin >= to) return;
    pos = tag->end;
    if (tag->closing || tag->empty ||
        (tag->local != "formula" && tag->local != "formula1" && tag->local != "formula2")) {
      continue;
    }
    const size_t textEnd = xml.find('<', tag->end);
    if (textEnd == std::string::npos || textEnd > to) return;
    const std::optional<std::string> text =
        DecodeEntities(std::string_view(xml).substr(tag->end, textEnd - tag->end));
    if (!text) continue;
    const std::optional<std::string> moved =
        ShiftRangeFormula(*text, oldTopLeft, newTopLeft, shift);
    if (!moved) continue;
    std::string escaped;
    AppendXmlText(escaped, *moved);
    xml.replace(tag->end, textEnd - tag->end, escaped);
    to = to + escaped.size() - (textEnd - tag->end);
    pos = tag->end + escaped.size();
  }
}

void SetAttr(std::string& xml, const std::pair<size_t, size_t>& span, const std::string& value) {
  xml.replace(span.first, span.second - span.first, value);
}

// A conditional format: its range by the conditional format rule, its rules' formulas rebased.
std::string ShiftConditionalFormat(std::string xml, const RefShift& shift) {
  const std::optional<Tag> root = NextTag(xml, 0);
  if (!root) return xml;
  const auto span = AttrSpan(xml, *root, "sqref");
  if (!span) return xml;
  const std::string old(AttrValue(xml, *span));
  const std::string moved = ShiftSqref(old, shift, SqrefRule::ConditionalFormat);
  if (moved.empty()) return {};
  SetAttr(xml, *span, moved);
  size_t to = xml.size();
  ShiftFormulasIn(xml, NextTag(xml, 0)->end, to, FirstCellOf(old), FirstCellOf(moved), shift);
  return xml;
}

// Children of the root with local name `child`, each given to `edit(xml, startTag, end)`, which
// returns false to drop it (and may change its bytes, returning its new end). Returns how many
// are left.
template <class Edit>
int EditChildren(std::string& xml, std::string_view child, Edit&& edit) {
  const std::optional<Tag> root = NextTag(xml, 0);
  if (!root || root->empty) return 0;
  int left = 0;
  size_t pos = root->end;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    if (tag->closing) break;  // the root's end
    size_t end = ElementEnd(xml, *tag);
    if (tag->local != child) {
      pos = end;
      continue;
    }
    if (edit(xml, *tag, end)) {
      ++left;
      pos = end;
    } else {
      xml.erase(tag->begin, end - tag->begin);
      pos = tag->begin;
    }
  }
  return left;
}

void SetRootCount(std::string& xml, std::string_view name, int count) {
  const std::optional<Tag> root = NextTag(xml, 0);
  if (!root) return;
  if (const auto span = AttrSpan(xml, *root, name)) SetAttr(xml, *span, std::to_string(count));
}

std::string ShiftValidations(std::string xml, const RefShift& shift) {
  const int left =
      EditChildren(xml, "dataValidation", [&](std::string& x, const Tag& tag, size_t& end) {
        const auto span = AttrSpan(x, tag, "sqref");
        if (!span) return true;
        const std::string old(AttrValue(x, *span));
        const std::string moved = ShiftSqref(old, shift, SqrefRule::CellAttribute);
        if (moved.empty()) return false;
        end = end + moved.size() - old.size();
        SetAttr(x, *span, moved);
        const std::optional<Tag> start = NextTag(x, tag.begin);
        ShiftFormulasIn(x, start->end, end, FirstCellOf(old), FirstCellOf(moved), shift);
        return true;
      });
  if (left == 0) return {};
  SetRootCount(xml, "count", left);
  return xml;
}

std::string ShiftHyperlinks(std::string xml, const RefShift& shift) {
  const int left = EditChildren(xml, "hyperlink", [&](std::string& x, const Tag& tag, size_t& end) {
    const auto span = AttrSpan(x, tag, "ref");
    if (!span) return true;
    const std::optional<Area> area = ParseAreaRef(AttrValue(x, *span));
    if (!area) return true;
    std::optional<Area> moved;
    if (area->first == area->last) {
      if (const std::optional<Cell> cell = ShiftCell(area->first, shift))
        moved = Area{*cell, *cell};
    } else {
      moved = ShiftRange(*area, shift);
    }
    if (!moved) return false;
    const std::string text = AreaRefText(*moved);
    end = end + text.size() - (span->second - span->first);
    SetAttr(x, *span, text);
    return true;
  });
  return left == 0 ? std::string() : xml;
}

std::string ShiftAutoFilter(std::string xml, const RefShift& shift) {
  const std::optional<Tag> root = NextTag(xml, 0);
  if (!root) return xml;
  const auto span = AttrSpan(xml, *root, "ref");
  if (!span) return xml;
  const std::optional<Area> area = ParseAreaRef(AttrValue(xml, *span));
  if (!area) return xml;
  const std::optional<Area> moved = ShiftRange(*area, shift);
  if (!moved) return {};
  SetAttr(xml, *span, AreaRefText(*moved));
  return xml;
}

std::string ShiftBreaks(std::string xml, bool rowBreaks, const RefShift& shift) {
  int manual = 0;
  const int left = EditChildren(xml, "brk", [&](std::string& x, const Tag& tag, size_t& end) {
    const auto span = AttrSpan(x, tag, "id");
    if (!span) return true;
    const std::string old(AttrValue(x, *span));
    char* stop = nullptr;
    const long id = std::strtol(old.c_str(), &stop, 10);
    if (stop == old.c_str() || *stop != '\0' || id < 0 || id > INT32_MAX) return true;
    const std::optional<int32_t> moved = ShiftPageBreak(static_cast<int32_t>(id), rowBreaks, shift);
    if (!moved) return false;
    const std::string text = std::to_string(*moved);
    const auto man = AttrSpan(x, tag, "man");
    if (man && (AttrValue(x, *man) == "1" || AttrValue(x, *man) == "true")) ++manual;
    end = end + text.size() - old.size();
    SetAttr(x, *span, text);
    return true;
  });
  if (left == 0) return {};
  SetRootCount(xml, "manualBreakCount", manual);
  SetRootCount(xml, "count", left);
  return xml;
}

// The extension list: the conditional formats and validations a writer put there (x14 data
// bars, icon sets, validations referring to other sheets) name their cells in an <xm:sqref>
// element; they move as their counterparts in the sheet do, and go when their cells all went.
std::string ShiftExtensions(std::string xml, const RefShift& shift) {
  std::optional<Tag> parent;  // the conditional format or validation being read
  size_t pos = 0;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    pos = tag->end;
    if (!tag->closing &&
        (tag->local == "conditionalFormatting" || tag->local == "dataValidation")) {
      parent = tag;
      continue;
    }
    if (tag->closing || tag->empty || tag->local != "sqref" || !parent) continue;
    const size_t textEnd = xml.find('<', tag->end);
    if (textEnd == std::string::npos) break;
    const std::string old = xml.substr(tag->end, textEnd - tag->end);
    const SqrefRule rule = parent->local == "conditionalFormatting" ? SqrefRule::ConditionalFormat
                                                                    : SqrefRule::CellAttribute;
    const std::string moved = ShiftSqref(old, shift, rule);
    if (moved.empty()) {
      const size_t end = ElementEnd(xml, *parent);
      xml.erase(parent->begin, end - parent->begin);
      pos = parent->begin;
    } else {
      xml.replace(tag->end, old.size(), moved);
      pos = tag->end + moved.size();
    }
    parent.reset();
  }
  return xml;
}

std::string ShiftOnce(std::string_view name, std::string xml, const RefShift& shift) {
  if (name == "extLst") return ShiftExtensions(std::move(xml), shift);
  if (name == "conditionalFormatting") return ShiftConditionalFormat(std::move(xml), shift);
  if (name == "dataValidations") return ShiftValidations(std::move(xml), shift);
  if (name == "hyperlinks") return ShiftHyperlinks(std::move(xml), shift);
  if (name == "autoFilter") return ShiftAutoFilter(std::move(xml), shift);
  if (name == "rowBreaks") return ShiftBreaks(std::move(xml), true, shift);
  if (name == "colBreaks") return ShiftBreaks(std::move(xml), false, shift);
  return xml;
}

bool WholeRows(const RefShift& shift) {
  return shift.axis == RefShift::Axis::Rows && shift.bandFirst <= 1 &&
         shift.bandLast >= shift.grid.cols;
}

}  // namespace

std::string ShiftKeptElement(std::string_view name, std::string xml,
                             const std::vector<RefShift>& shifts) {
  for (const RefShift& shift : shifts) {
    xml = ShiftOnce(name, std::move(xml), shift);
    if (xml.empty()) break;
  }
  return xml;
}

std::string MoveDefinedNames(
    std::string xml, const std::function<std::optional<std::string>(std::string_view)>& move) {
  if (!move) return xml;
  size_t pos = 0;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    pos = tag->end;
    if (tag->closing || tag->empty || tag->local != "definedName") continue;
    const size_t textEnd = xml.find('<', tag->end);
    if (textEnd == std::string::npos) break;
    const std::optional<std::string> read =
        DecodeEntities(std::string_view(xml).substr(tag->end, textEnd - tag->end));
    if (!read) continue;
    const std::optional<std::string> text = move(*read);
    if (!text) continue;
    std::string escaped;
    AppendXmlText(escaped, *text);
    xml.replace(tag->end, textEnd - tag->end, escaped);
    pos = tag->end + escaped.size();
  }
  return xml;
}

namespace {

// Moves the `ref` attribute of every tag named `local` as a reference to a range moves.
void ShiftRefsOf(std::string& xml, std::string_view local, const RefShift& shift) {
  size_t pos = 0;
  while (const std::optional<Tag> tag = NextTag(xml, pos)) {
    pos = tag->end;
    if (tag->closing || tag->local != local) continue;
    const auto span = AttrSpan(xml, *tag, "ref");
    if (!span) continue;
    const std::optional<Area> area = ParseAreaRef(AttrValue(xml, *span));
    if (!area) continue;
    const std::optional<Area> moved = ShiftRange(*area, shift);
    if (!moved) continue;
    const std::string text = AreaRefText(*moved);
    pos = tag->end + text.size() - (span->second - span->first);
    SetAttr(xml, *span, text);
  }
}

}  // namespace

std::string ShiftTablePart(std::string xml, const std::vector<RefShift>& shifts) {
  for (const RefShift& shift : shifts) {
    for (std::string_view local : {"table", "autoFilter", "location"})
      ShiftRefsOf(xml, local, shift);
  }
  return xml;
}

std::optional<std::pair<std::string, Area>> TablePartRange(std::string_view xml) {
  const std::optional<Tag> root = NextTag(xml, 0);
  if (!root || root->closing) return std::nullopt;
  std::optional<Tag> located = root;
  if (root->local == "pivotTableDefinition") {
    located.reset();
    for (std::optional<Tag> tag = NextTag(xml, root->end); tag; tag = NextTag(xml, tag->end)) {
      if (!tag->closing && tag->local == "location") {
        located = tag;
        break;
      }
    }
  } else if (root->local != "table") {
    return std::nullopt;
  }
  if (!located) return std::nullopt;
  const auto ref = AttrSpan(xml, *located, "ref");
  const std::optional<Area> area = ref ? ParseAreaRef(AttrValue(xml, *ref)) : std::nullopt;
  if (!area) return std::nullopt;
  std::string name;
  for (const char* attr : {"displayName", "name"}) {
    if (const auto span = AttrSpan(xml, *root, attr); span && name.empty())
      name = std::string(AttrValue(xml, *span));
  }
  return std::make_pair(name, *area);
}

std::map<int32_t, std::vector<RawAttr>> ShiftRowAttrs(std::map<int32_t, std::vector<RawAttr>> rows,
                                                      const std::vector<RefShift>& shifts) {
  for (const RefShift& shift : shifts) {
    if (!WholeRows(shift)) continue;
    std::map<int32_t, std::vector<RawAttr>> moved;
    for (auto& [row, attrs] : rows) {
      if (const std::optional<Cell> cell = ShiftCell(Cell{row, 1}, shift))
        moved[cell->row] = std::move(attrs);
    }
    rows = std::move(moved);
  }
  return rows;
}

std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> ShiftCellAttrs(
    std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> cells,
    const std::vector<RefShift>& shifts) {
  for (const RefShift& shift : shifts) {
    std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> moved;
    for (auto& [at, attrs] : cells) {
      if (const std::optional<Cell> cell = ShiftCell(Cell{at.first, at.second}, shift)) {
        moved[{cell->row, cell->col}] = std::move(attrs);
      }
    }
    cells = std::move(moved);
  }
  return cells;
}

}  // namespace tezlo
