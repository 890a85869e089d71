#include "files/drawing_anchors.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "files/raw_tag.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

// The numbers of a marker, in the order they are stored in AnchorMarker.
constexpr std::string_view kFields[] = {"col", "colOff", "row", "rowOff"};

// Where a number's text lies in the part (between its start and end tags).
struct FieldSpan {
  size_t begin = 0;
  size_t end = 0;
  bool found = false;
};

// An anchor as found in the part: what it says and where its numbers are.
struct FoundAnchor {
  DrawingAnchor anchor;
  FieldSpan fields[2][4];  // from, to; by kFields
  bool twoCell = false;    // a twoCellAnchor, the one kind with a "to"
  bool readable = true;
};

template <typename Int>
bool ParseNumber(std::string_view text, Int& out) {
  text = TrimWhiteSpace(text);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

// Reads the numbers of one marker's fields into `m`; false when one is missing or not a number.
bool ReadMarker(std::string_view xml, const FieldSpan (&spans)[4], AnchorMarker& m) {
  for (const FieldSpan& f : spans) {
    if (!f.found) return false;
  }
  auto text = [&](int i) { return xml.substr(spans[i].begin, spans[i].end - spans[i].begin); };
  return ParseNumber(text(0), m.col) && ParseNumber(text(1), m.colOff) &&
         ParseNumber(text(2), m.row) && ParseNumber(text(3), m.rowOff);
}

std::optional<AnchorMode> KindOf(std::string_view local) {
  if (local == "twoCellAnchor") return AnchorMode::TwoCell;
  if (local == "oneCellAnchor") return AnchorMode::OneCell;
  if (local == "absoluteAnchor") return AnchorMode::Absolute;
  return std::nullopt;
}

// How a twoCellAnchor follows its cells, by its editAs ("twoCell" when it has none or one this
// reader does not know, as the format's default).
AnchorMode EditAs(std::string_view startTag) {
  const std::optional<RawTag> tag = ParseStartTag(startTag);
  const RawAttr* editAs = tag ? tag->Find("editAs") : nullptr;
  if (editAs == nullptr) return AnchorMode::TwoCell;
  const std::string_view value = TrimWhiteSpace(editAs->value);
  if (value == "oneCell") return AnchorMode::OneCell;
  if (value == "absolute") return AnchorMode::Absolute;
  return AnchorMode::TwoCell;
}

// Every anchor of the part, in file order; nothing when the part's tags do not nest (an anchor
// left open at the end, or closed by another element's end tag).
std::optional<std::vector<FoundAnchor>> FindAnchors(std::string_view xml) {
  std::vector<FoundAnchor> out;
  size_t pos = 0;
  int depth = 0;    // inside the current anchor: 1 for its direct children
  int marker = -1;  // 0 inside its from, 1 inside its to
  std::string_view kind;
  FoundAnchor current;
  bool isTwoCell = false;
  while (true) {
    const TagSpan tag = NextTagSpan(xml, pos);
    if (tag.begin == std::string_view::npos) break;
    pos = tag.end;
    if (depth == 0) {
      if (tag.closing || tag.empty) continue;
      const std::optional<AnchorMode> mode = KindOf(tag.local);
      if (!mode) continue;
      current = FoundAnchor{};
      current.anchor.mode = *mode;
      isTwoCell = *mode == AnchorMode::TwoCell;
      current.twoCell = isTwoCell;
      if (isTwoCell) current.anchor.mode = EditAs(xml.substr(tag.begin, tag.end - tag.begin));
      kind = tag.local;
      depth = 1;
      marker = -1;
      continue;
    }
    if (tag.closing) {
      --depth;
      if (depth == 1) marker = -1;
      if (depth > 0) continue;
      if (tag.local != kind) return std::nullopt;
      if (current.anchor.mode != AnchorMode::Absolute || isTwoCell) {
        current.readable =
            current.readable && ReadMarker(xml, current.fields[0], current.anchor.from);
        if (isTwoCell)
          current.readable =
              current.readable && ReadMarker(xml, current.fields[1], current.anchor.to);
      }
      out.push_back(current);
      continue;
    }
    if (tag.empty) continue;
    if (depth == 1 && (tag.local == "from" || tag.local == "to")) {
      marker = tag.local == "from" ? 0 : 1;
    } else if (depth == 2 && marker >= 0) {
      for (int i = 0; i < 4; ++i) {
        if (tag.local != kFields[i]) continue;
        // A number is text only: its end tag comes next.
        const TagSpan end = NextTagSpan(xml, tag.end);
        FieldSpan& f = current.fields[marker][i];
        if (end.begin == std::string_view::npos || !end.closing || end.local != tag.local ||
            f.found) {
          current.readable = false;
          break;
        }
        f = FieldSpan{tag.end, end.begin, true};
        pos = end.end;
        --depth;  // the end tag is consumed here
        break;
      }
    }
    ++depth;
  }
  if (depth != 0) return std::nullopt;
  return out;
}

}  // namespace

std::vector<std::optional<DrawingAnchor>> DrawingPartAnchors(std::string_view xml) {
  std::vector<std::optional<DrawingAnchor>> out;
  const auto found = FindAnchors(xml);
  if (!found) return out;
  for (const FoundAnchor& a : *found)
    out.push_back(a.readable ? std::optional(a.anchor) : std::nullopt);
  return out;
}

std::string ShiftDrawingPart(std::string xml, const std::vector<RefShift>& shifts) {
  if (shifts.empty()) return xml;
  const auto found = FindAnchors(xml);
  if (!found) return xml;
  struct Edit {
    size_t begin, end;
    std::string text;
  };
  std::vector<Edit> edits;
  for (const FoundAnchor& a : *found) {
    if (!a.readable) continue;
    DrawingAnchor moved = a.anchor;
    for (const RefShift& shift : shifts) moved = ShiftAnchor(moved, shift);
    const AnchorMarker* before[2] = {&a.anchor.from, &a.anchor.to};
    const AnchorMarker* after[2] = {&moved.from, &moved.to};
    for (int m = 0; m < (a.twoCell ? 2 : 1); ++m) {
      const int64_t was[4] = {before[m]->col, before[m]->colOff, before[m]->row, before[m]->rowOff};
      const int64_t now[4] = {after[m]->col, after[m]->colOff, after[m]->row, after[m]->rowOff};
      for (int i = 0; i < 4; ++i) {
        const FieldSpan& f = a.fields[m][i];
        if (f.found && was[i] != now[i])
          edits.push_back(Edit{f.begin, f.end, std::to_string(now[i])});
      }
    }
  }
  if (edits.empty()) return xml;
  // In the order of the part (a file may list a marker's numbers in another order).
  std::sort(edits.begin(), edits.end(),
            [](const Edit& x, const Edit& y) { return x.begin < y.begin; });
  std::string out;
  out.reserve(xml.size() + 16 * edits.size());
  size_t at = 0;
  for (const Edit& e : edits) {
    out.append(xml, at, e.begin - at);
    out += e.text;
    at = e.end;
  }
  out.append(xml, at, std::string::npos);
  return out;
}

}  // namespace tezlo
