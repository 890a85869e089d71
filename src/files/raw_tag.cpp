#include "files/raw_tag.h"

#include <algorithm>

#include "text/ascii.h"

namespace tezlo {

namespace {

bool NameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':';
}

}  // namespace

TagSpan NextTagSpan(std::string_view xml, size_t from) {
  TagSpan t;
  size_t i = from;
  while ((i = xml.find('<', i)) != std::string_view::npos) {
    if (xml.compare(i, 4, "<!--") == 0) {
      const size_t e = xml.find("-->", i + 4);
      if (e == std::string_view::npos) return t;
      i = e + 3;
      continue;
    }
    if (xml.compare(i, 9, "<![CDATA[") == 0) {
      const size_t e = xml.find("]]>", i + 9);
      if (e == std::string_view::npos) return t;
      i = e + 3;
      continue;
    }
    if (i + 1 < xml.size() && (xml[i + 1] == '?' || xml[i + 1] == '!')) {
      const size_t e = xml.find('>', i);
      if (e == std::string_view::npos) return t;
      i = e + 1;
      continue;
    }
    t.closing = i + 1 < xml.size() && xml[i + 1] == '/';
    size_t n = i + (t.closing ? 2 : 1);
    const size_t nameStart = n;
    while (n < xml.size() && NameChar(xml[n])) ++n;
    std::string_view name = xml.substr(nameStart, n - nameStart);
    const size_t colon = name.rfind(':');
    t.local = colon == std::string_view::npos ? name : name.substr(colon + 1);
    // The tag ends at the first '>' outside quoted attribute values.
    char quote = 0;
    for (; n < xml.size(); ++n) {
      const char c = xml[n];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (n >= xml.size()) return t;
    t.begin = i;
    t.end = n + 1;
    t.empty = !t.closing && xml[n - 1] == '/';
    return t;
  }
  return t;
}

std::string_view LocalName(std::string_view qualified) {
  const size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

const RawAttr* RawTag::Find(std::string_view local) const {
  for (const RawAttr& a : attrs) {
    if (LocalName(a.name) == local && a.name.rfind("xmlns", 0) != 0) return &a;
  }
  return nullptr;
}

void RawTag::Set(std::string_view local, std::string value) {
  for (RawAttr& a : attrs) {
    if (LocalName(a.name) == local && a.name.rfind("xmlns", 0) != 0) {
      a.value = std::move(value);
      return;
    }
  }
  attrs.push_back(RawAttr{std::string(local), std::move(value)});
}

void RawTag::Remove(std::string_view local) {
  std::erase_if(attrs, [local](const RawAttr& a) {
    return LocalName(a.name) == local && a.name.rfind("xmlns", 0) != 0;
  });
}

bool HasAttr(const std::vector<RawAttr>& attrs, std::string_view local) {
  return std::any_of(attrs.begin(), attrs.end(), [local](const RawAttr& a) {
    return LocalName(a.name) == local && a.name.rfind("xmlns", 0) != 0;
  });
}

std::vector<RawAttr> WithoutAttr(const std::vector<RawAttr>& attrs, std::string_view local) {
  RawTag tag{"", attrs, false};
  tag.Remove(local);
  return std::move(tag.attrs);
}

void RawTag::AppendTo(std::string& out) const {
  out += '<';
  out += name;
  AppendRawAttrs(out, attrs);
  out += empty ? "/>" : ">";
}

void AppendRawAttrs(std::string& out, const std::vector<RawAttr>& attrs) {
  for (const RawAttr& a : attrs) {
    out += ' ';
    out += a.name;
    out += "=\"";
    // A value written between apostrophes may hold a quotation mark.
    for (char c : a.value) {
      if (c == '"') {
        out += "&quot;";
      } else {
        out += c;
      }
    }
    out += '"';
  }
}

RawTag RootTag(const std::optional<RawTag>& kept, std::string name) {
  RawTag tag;
  if (kept) tag = *kept;
  tag.name = std::move(name);
  tag.empty = false;
  auto declared = [&tag](std::string_view attr) {
    return std::any_of(tag.attrs.begin(), tag.attrs.end(),
                       [attr](const RawAttr& a) { return a.name == attr; });
  };
  if (!declared("xmlns")) {
    tag.attrs.insert(tag.attrs.begin(),
                     RawAttr{"xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"});
  }
  if (!declared("xmlns:r")) {
    tag.attrs.push_back(
        RawAttr{"xmlns:r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"});
  }
  return tag;
}

std::optional<RawTag> ParseStartTag(std::string_view tag) {
  if (tag.size() < 3 || tag.front() != '<' || tag.back() != '>') return std::nullopt;
  RawTag out;
  size_t end = tag.size() - 1;
  if (tag[end - 1] == '/') {
    out.empty = true;
    --end;
  }
  size_t i = 1;
  while (i < end && !IsWhiteSpace(tag[i])) ++i;
  out.name = std::string(tag.substr(1, i - 1));
  if (out.name.empty()) return std::nullopt;
  while (true) {
    while (i < end && IsWhiteSpace(tag[i])) ++i;
    if (i >= end) break;
    const size_t nameStart = i;
    while (i < end && tag[i] != '=' && !IsWhiteSpace(tag[i])) ++i;
    RawAttr a{std::string(tag.substr(nameStart, i - nameStart)), {}};
    while (i < end && IsWhiteSpace(tag[i])) ++i;
    if (i >= end || tag[i] != '=') return std::nullopt;
    ++i;
    while (i < end && IsWhiteSpace(tag[i])) ++i;
    if (i >= end || (tag[i] != '"' && tag[i] != '\'')) return std::nullopt;
    const char quote = tag[i++];
    const size_t close = tag.find(quote, i);
    if (close == std::string_view::npos || close >= end) return std::nullopt;
    a.value = std::string(tag.substr(i, close - i));
    i = close + 1;
    out.attrs.push_back(std::move(a));
  }
  return out;
}

}  // namespace tezlo
