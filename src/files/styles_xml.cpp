#include "files/styles_xml.h"

#include <charconv>

#include "files/raw_tag.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

using Tag = TagSpan;

Tag NextTag(std::string_view xml, size_t from) { return NextTagSpan(xml, from); }

// The first start tag of a `local` element.
Tag FindStart(std::string_view xml, std::string_view local) {
  for (Tag t = NextTag(xml, 0); t.begin != std::string_view::npos; t = NextTag(xml, t.end)) {
    if (!t.closing && t.local == local) return t;
  }
  return Tag{};
}

// The end of the element whose start tag is `start`: one past its end tag.
size_t ElementEnd(std::string_view xml, const Tag& start, size_t* closeBegin = nullptr) {
  if (start.empty) {
    if (closeBegin) *closeBegin = std::string_view::npos;
    return start.end;
  }
  int depth = 0;
  for (Tag t = NextTag(xml, start.end); t.begin != std::string_view::npos;
       t = NextTag(xml, t.end)) {
    if (t.empty) continue;
    if (!t.closing) {
      ++depth;
    } else if (depth > 0) {
      --depth;
    } else {
      if (closeBegin) *closeBegin = t.begin;
      return t.end;
    }
  }
  return std::string_view::npos;
}

std::string PrefixOf(std::string_view xml, const Tag& t) {
  // The local name points into `xml`: what stands between '<' (or "</") and it is the prefix.
  const size_t nameStart = t.begin + (t.closing ? 2 : 1);
  const size_t localStart = static_cast<size_t>(t.local.data() - xml.data());
  return std::string(xml.substr(nameStart, localStart - nameStart));
}

// The value of attribute `name` in the start tag text `tag`, with where it sits (the whole
// name="value"); npos when absent.
size_t FindAttribute(std::string_view tag, std::string_view name, size_t& length) {
  size_t i = 0;
  while ((i = tag.find(name, i)) != std::string_view::npos) {
    const bool startsWord = i > 0 && (IsWhiteSpace(tag[i - 1]) || tag[i - 1] == ':');
    size_t k = i + name.size();
    while (k < tag.size() && IsWhiteSpace(tag[k])) ++k;
    if (startsWord && k < tag.size() && tag[k] == '=') {
      ++k;
      while (k < tag.size() && IsWhiteSpace(tag[k])) ++k;
      if (k < tag.size() && (tag[k] == '"' || tag[k] == '\'')) {
        const size_t close = tag.find(tag[k], k + 1);
        if (close == std::string_view::npos) return std::string_view::npos;
        size_t from = i;
        while (from > 0 && !IsWhiteSpace(tag[from - 1])) {
          --from;  // a prefixed attribute: start at its prefix
        }
        length = close + 1 - from;
        return from;
      }
    }
    i += name.size();
  }
  return std::string_view::npos;
}

}  // namespace

std::vector<std::string> CellXfTexts(std::string_view xml) {
  std::vector<std::string> out;
  const Tag list = FindStart(xml, "cellXfs");
  if (list.begin == std::string_view::npos || list.empty) return out;
  int depth = 0;
  for (Tag t = NextTag(xml, list.end); t.begin != std::string_view::npos;) {
    if (t.closing) {
      if (depth == 0) break;
      --depth;
      t = NextTag(xml, t.end);
      continue;
    }
    if (t.local == "xf" && depth == 0) {
      const size_t end = ElementEnd(xml, t);
      if (end == std::string_view::npos) break;
      out.emplace_back(xml.substr(t.begin, end - t.begin));
      t = NextTag(xml, end);
      continue;
    }
    if (!t.empty) ++depth;
    t = NextTag(xml, t.end);
  }
  return out;
}

std::string RootPrefix(std::string_view xml) {
  const Tag root = NextTag(xml, 0);
  return root.begin == std::string_view::npos ? std::string() : PrefixOf(xml, root);
}

std::string AppendToList(std::string xml, std::string_view list, std::string_view items,
                         int added) {
  const Tag start = FindStart(xml, list);
  if (start.begin == std::string_view::npos) {
    const Tag root = NextTag(xml, 0);
    if (root.begin == std::string_view::npos || root.empty) return xml;
    const std::string prefix = PrefixOf(xml, root);
    std::string made = "<" + prefix + std::string(list) + " count=\"" + std::to_string(added) +
                       "\">" + std::string(items) + "</" + prefix + std::string(list) + ">";
    xml.insert(root.end, made);
    return xml;
  }
  const std::string prefix = PrefixOf(xml, start);
  std::string tag = xml.substr(start.begin, start.end - start.begin);
  size_t length = 0;
  const size_t at = FindAttribute(tag, "count", length);
  if (at != std::string::npos) {
    const std::string_view attr = std::string_view(tag).substr(at, length);
    const size_t q = attr.find_first_of("\"'");
    int count = 0;
    std::from_chars(attr.data() + q + 1, attr.data() + attr.size() - 1, count);
    tag = WithAttribute(std::move(tag), "count", std::to_string(count + added));
  }
  if (start.empty) {
    // <fills count="0"/> becomes an element holding the items.
    const size_t slash = tag.rfind('/');
    tag = tag.substr(0, slash) + ">" + std::string(items) + "</" + prefix + std::string(list) + ">";
    xml.replace(start.begin, start.end - start.begin, tag);
    return xml;
  }
  size_t closeBegin = std::string::npos;
  if (ElementEnd(xml, start, &closeBegin) == std::string::npos || closeBegin == std::string::npos)
    return xml;
  xml.insert(closeBegin, items);
  xml.replace(start.begin, start.end - start.begin, tag);
  return xml;
}

std::string WithAttribute(std::string element, std::string_view name, std::string_view value) {
  const Tag start = NextTag(element, 0);
  if (start.begin == std::string::npos) return element;
  std::string tag = element.substr(start.begin, start.end - start.begin);
  size_t length = 0;
  const size_t at = FindAttribute(tag, name, length);
  const std::string attr =
      value.empty() ? std::string() : std::string(name) + "=\"" + std::string(value) + "\"";
  if (at != std::string::npos) {
    if (attr.empty()) {
      tag.erase(at - 1, length + 1);  // with the blank before it
    } else {
      tag.replace(at, length, attr);
    }
  } else if (!attr.empty()) {
    const size_t close = tag.size() - (start.empty ? 2 : 1);
    tag.insert(close, " " + attr);
  }
  element.replace(start.begin, start.end - start.begin, tag);
  return element;
}

}  // namespace tezlo
